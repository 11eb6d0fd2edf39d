// Writes the seed corpus of the fuzz targets, every seed made by the
// program's own encoders: data files by the record encoders and writers,
// replies by the two virtual acceptors answering the very sessions the
// fuzz targets run. Run by hand after a format changes:
//
//   build/native/tests/fuzz/fuzz_make_seeds tests/fuzz/corpus
#include "coindata/files/data_paths.h"
#include "coindata/files/enciphered_file.h"
#include "coindata/files/log_dump_file.h"
#include "coindata/files/log_dump_name.h"
#include "coindata/records/coin_description.h"
#include "coindata/records/coin_image.h"
#include "coindata/records/coin_stat_record.h"
#include "coindata/records/coin_weights.h"
#include "coindata/records/config_record.h"
#include "coindata/records/device_info.h"
#include "coindata/records/reference_book.h"
#include "link/checksums.h"
#include "link/command_mailbox.h"
#include "sim/ducat/ducat_acceptor.h"
#include "sim/standard/standard_acceptor.h"
#include "tests/fuzz/ducat_reply_sealing.h"
#include "tests/fuzz/ducat_session.h"
#include "tests/fuzz/fuzz_files.h"
#include "tests/fuzz/pollbench_session.h"
#include "tests/fuzz/reply_stream.h"
#include "tests/support/coin_description_files.h"
#include "tests/support/fake_driver_port_opener.h"
#include "tests/support/fake_serial_port.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kSeedTime = 1704067200; // 2024-01-01 00:00:00 UTC: the same seeds on every run

fs::path g_corpus;

void Seed(const char* target, const char* name, const Bytes& bytes) {
    const fs::path folder = g_corpus / target;
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
        std::exit(1);
    }
}

Bytes Prefixed(uint8_t first, const Bytes& rest) {
    Bytes input{first};
    input.insert(input.end(), rest.begin(), rest.end());
    return input;
}

template <size_t N>
Bytes Of(const std::array<uint8_t, N>& record) {
    return Bytes(record.begin(), record.end());
}

// --- data files

// The content of a configuration file of an older version: the version-12
// content with its version changed, cut to the shortest length the reader
// takes for that version.
Bytes ConfigOfVersion(int32_t version) {
    Bytes content = EncodeConfig(ConfigRecord{});
    StoreLe32(content.data(), static_cast<uint32_t>(version));
    for (size_t n = 4; n <= content.size(); ++n) {
        ConfigRecord record;
        if (DecodeConfig(content.data(), n, record)) return Bytes(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return content;
}

Bytes CountedRecords(const std::vector<Bytes>& records) {
    Bytes content(4);
    StoreLe32(content.data(), static_cast<uint32_t>(records.size()));
    for (const Bytes& r : records) content.insert(content.end(), r.begin(), r.end());
    return content;
}

Bytes ReferenceBookContent(size_t records) {
    std::vector<Bytes> book;
    for (size_t i = 0; i < records; ++i) {
        ReferenceBookRecord r;
        PutText(r.szCoinId, i == 0 ? "RU1K0B" : "EU200A");
        PutText(r.szShort, "1 ruble");
        PutText(r.szFull, "Bank of Russia, 1 ruble, brass-plated steel");
        PutText(r.szYear, "2016");
        PutText(r.szDimensions, "20.5 mm, 3.25 g");
        PutText(r.szCountry, "Russia");
        PutText(r.szDenomination, "1 ruble");
        book.push_back(Of(EncodeReferenceBookRecord(r)));
    }
    return CountedRecords(book);
}

Bytes ArchiveContent(size_t records) {
    std::vector<Bytes> archive;
    for (size_t i = 0; i < records; ++i) {
        CoinStatRecord r;
        for (size_t k = 0; k < kMeasurementPoints; ++k) {
            const int32_t v = static_cast<int32_t>(100 * k + i);
            r.aPoints[k] = {v, v / 2, v / 3, -v};
        }
        r.iD1 = 20500;
        r.iD2 = -1250;
        r.iTime1 = 41000;
        r.iTime2 = 250000;
        archive.push_back(Of(EncodeCoinStatRecord(r)));
    }
    return CountedRecords(archive);
}

Bytes WeightsContent() {
    CoinWeights w;
    for (size_t i = 0; i < kWeightWords; ++i) w.aiWords[i] = static_cast<int32_t>(i * 7) - 200;
    w.iCount = 48;
    return Of(EncodeCoinWeights(w));
}

CoinDescription SampleDescription() {
    CoinDescription d;
    PutText(d.szDenomination, "1 ruble");
    PutText(d.szYear, "2016");
    PutText(d.szDimensions, "20.5 mm");
    PutText(d.szCountry, "Russia");
    PutText(d.szShort, "1 ruble 2016");
    PutText(d.szFull, "Bank of Russia, 1 ruble, brass-plated steel");
    return d;
}

CoinImage SampleImage() {
    CoinImage image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 31 + 7);
    CoinImageFields fields;
    fields.bFirm = 2;
    fields.tWritten = 1704067200;
    PutText(fields.szCoinId, "RU1K0B");
    fields.bCoinIndex = 4;
    WriteCoinImageFields(image, fields);
    return image;
}

// The deciphered content up to the image's identity fields; the target
// fills the rest with zeros.
Bytes DescriptionPlainHead() {
    const CoinDescriptionContent content = EncodeCoinDescriptionContent(SampleDescription(), SampleImage());
    constexpr size_t kThroughIdentity = kCoinDescriptionImageOffset + 246;
    return Bytes(content.begin(), content.begin() + kThroughIdentity);
}

// A log dump of `pages` pages as WriteLogDump writes it.
Bytes LogDumpFile(size_t pages) {
    DeviceInfo info;
    info.bAddress = 1;
    info.dwSerial = 20240117;
    PutText(info.szSerial, "DC-20240117");
    PutText(info.szManufacturer, "VIRTUAL");
    PutText(info.szCategory, "Coin Acceptor");
    PutText(info.szBuild, "Virtual build 1");
    PutText(info.szRevision, "2.04");
    SetDeviceInfo(info);
    Bytes buffer((pages + 1) * kLogPageBytes);
    for (size_t i = 0; i < pages * kLogPageBytes; ++i) buffer[i] = static_cast<uint8_t>(i ^ (i >> 8));
    StoreLe16(buffer.data() + 226, static_cast<uint16_t>(pages - 2));
    if (WriteLogDump(buffer.data(), static_cast<uint32_t>(pages * kLogPageBytes), kSeedTime) != 0) std::exit(1);
    const std::string path = NativePath(LogDumpPath(LogDumpName(info.szSerial)));
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FileSeeds() {
    constexpr uint8_t kAsIs = 0;
    Seed("fuzz_config", "version-12", SealedInput(EncodeConfig(ConfigRecord{})));
    Seed("fuzz_config", "version-1", SealedInput(ConfigOfVersion(1)));
    Seed("fuzz_config", "version-5", SealedInput(ConfigOfVersion(5)));
    Seed("fuzz_config", "version-3-file", Prefixed(kAsIs, WithEnvelope(ConfigOfVersion(3))));
    Bytes cut = ConfigOfVersion(4);
    cut.pop_back();
    Seed("fuzz_config", "version-4-cut", SealedInput(cut));

    Seed("fuzz_reference_book", "two-records", SealedInput(ReferenceBookContent(2)));
    Seed("fuzz_reference_book", "empty", SealedInput(ReferenceBookContent(0)));
    Seed("fuzz_reference_book", "one-record-file", Prefixed(kAsIs, WithEnvelope(ReferenceBookContent(1))));

    Seed("fuzz_archive", "two-records", SealedInput(ArchiveContent(2)));
    Seed("fuzz_archive", "empty-file", Prefixed(kAsIs, WithEnvelope(ArchiveContent(0))));

    Seed("fuzz_weights", "weights", SealedInput(WeightsContent()));
    Seed("fuzz_weights", "weights-file", Prefixed(kAsIs, WithEnvelope(WeightsContent())));

    constexpr uint8_t kSealedPlainWithCrc = 0x07; // fuzz_coin_description's form bits
    Seed("fuzz_coin_description", "plain", Prefixed(kSealedPlainWithCrc, DescriptionPlainHead()));
    Seed("fuzz_coin_description", "file",
         Prefixed(kAsIs, EncodeCoinDescriptionFile(SampleDescription(), SampleImage())));

    // fuzz_show's first byte: the kind in bits 0-2, bit 3 adds the checksum trailer.
    constexpr uint8_t kSealed = 0x08;
    Seed("fuzz_show", "config", Prefixed(0 | kSealed, ConfigOfVersion(5)));
    Seed("fuzz_show", "reference-book", Prefixed(1 | kSealed, ReferenceBookContent(1)));
    Seed("fuzz_show", "archive", Prefixed(2 | kSealed, ArchiveContent(1)));
    Seed("fuzz_show", "weights", Prefixed(3 | kSealed, WeightsContent()));
    Seed("fuzz_show", "log-dump-file", Prefixed(4, LogDumpFile(2)));
    Seed("fuzz_show", "plain-description", Prefixed(5 | kSealed, DescriptionPlainHead()));
    Bytes plainDump = LogDumpFile(3);
    plainDump.resize(plainDump.size() - 4);
    DecipherFileContent(plainDump.data(), plainDump.size());
    Seed("fuzz_show", "plain-log-dump", Prefixed(6 | kSealed, plainDump));
}

// --- replies

// A line on which a virtual device answers every write; each answer is
// also kept in the reply stream's form, as `record` puts it there. On a
// one-wire bus the port hands back the request first, as the reply stream
// does (so the device's own echo is off). `afterWrite` is told how many
// writes the line has answered.
using Recording = std::function<void(const Bytes& answer, Bytes& stream)>;

void RecordAsIs(const Bytes& answer, Bytes& stream) { AppendReply(stream, answer); }

testing_support::FakePortScript RecordedLine(sim::Device& device, Bytes& stream, bool oneWireEcho, Recording record,
                                             std::function<void(size_t writes)> afterWrite = {}) {
    testing_support::FakePortScript script;
    script.echo = oneWireEcho;
    script.replySource = [&device, &stream, record = std::move(record), afterWrite = std::move(afterWrite),
                          writes = size_t{0}](const uint8_t* bytes, size_t n) mutable {
        testing_support::FakeWriteAnswer answer;
        device.OnBytes(bytes, n, answer.reply);
        record(answer.reply, stream);
        if (afterWrite) afterWrite(++writes);
        return answer;
    };
    return script;
}

// A Ducat session against the virtual acceptor, stopped after `writes`
// requests (0 = when the run ends by itself).
// With `plainPages` each log page goes into the stream deciphered and
// marked sealed, so that the target seals it again.
Bytes DucatSeed(uint8_t starter, uint8_t value, sim::DucatAcceptor& acceptor, size_t writes, bool plainPages = false) {
    Bytes input{starter, value};
    const Recording plainPage = [](const Bytes& answer, Bytes& stream) {
        Bytes plain = answer;
        OpenDucatLogPage(plain);
        AppendReply(stream, plain, reply_fault::kSealed);
    };
    testing_support::FakePortScript script =
        RecordedLine(acceptor, input, false, plainPages ? plainPage : Recording(RecordAsIs), [writes](size_t n) {
            if (writes != 0 && n >= writes) Mailbox.bStopThread.store(1);
        });
    testing_support::FakePortLog log;
    RunDucatSession(starter, value, [&] { return std::make_unique<testing_support::FakeSerialPort>(script, log); });
    return input;
}

void DucatSeeds() {
    PrepareDucatSessions();
    {
        sim::DucatAcceptor acceptor;
        acceptor.QueueCoin({});
        acceptor.QueueCoin({});
        acceptor.QueueCoin(sim::DucatCoin{3, false, {4, 8}, {1, 2}});
        Seed("fuzz_ducat_replies", "start-monitor", DucatSeed(kStartButton, 0, acceptor, 6));
    }
    {
        sim::DucatAcceptor acceptor;
        acceptor.faults.Add({sim::DucatFault::WrongCrc, acceptor::kReadTable, 1});
        acceptor.faults.Add({sim::DucatFault::ShortReply, acceptor::kReadResult, 1});
        Seed("fuzz_ducat_replies", "start-table-crc", DucatSeed(kStartButton, 0, acceptor, 5));
    }
    {
        sim::DucatAcceptor acceptor;
        acceptor.SetLogPages(3);
        Seed("fuzz_ducat_replies", "export-log", DucatSeed(kExportLog, 0, acceptor, 0));
    }
    {
        sim::DucatAcceptor acceptor;
        acceptor.SetLogPages(4);
        Seed("fuzz_ducat_replies", "export-log-sealed", DucatSeed(kExportLog, 0, acceptor, 0, true));
    }
    {
        sim::DucatAcceptor acceptor;
        acceptor.SetLogPages(2);
        acceptor.faults.Add({sim::DucatFault::WrongPage, acceptor::kReadLogPage, 1});
        Seed("fuzz_ducat_replies", "export-log-wrong-page", DucatSeed(kExportLog, 0, acceptor, 0));
    }
    {
        sim::DucatAcceptor acceptor;
        acceptor.faults.Add({sim::DucatFault::RepeatFragment, acceptor::kWriteFragment, 1, 0, 3});
        Seed("fuzz_ducat_replies", "coin-write", DucatSeed(kCoinWrite, 4, acceptor, 20));
    }
    {
        sim::DucatAcceptor acceptor;
        acceptor.faults.Add({sim::DucatFault::Refuse, acceptor::kWriteDivider, 1, 5});
        Seed("fuzz_ducat_replies", "divider-refused", DucatSeed(kDividerEdit, 2, acceptor, 4));
    }
    {
        sim::DucatAcceptor acceptor;
        Seed("fuzz_ducat_replies", "max-errors", DucatSeed(kMaxErrors, 0, acceptor, 3));
    }
}

// A Pollbench session against the virtual standard acceptor for `ticks`
// ticks, a coin inserted before each. The device's own echo is off: the
// reply stream makes the echo.
// With `sealed` every reply is marked for the target to seal.
Bytes PollbenchSeed(uint8_t plan, sim::StandardConfig config, int ticks, bool sealed = false,
                    const std::function<void(sim::StandardAcceptor&, int tick)>& beforeTick = {}) {
    config.echo = false;
    sim::StandardAcceptor device(config);
    Bytes input{plan};
    const Recording sealedReply = [](const Bytes& answer, Bytes& stream) {
        AppendReply(stream, answer, reply_fault::kSealed);
    };
    testing_support::FakePortScript script =
        RecordedLine(device, input, true, sealed ? sealedReply : Recording(RecordAsIs));
    testing_support::FakePortLog log;
    RunPollbenchSession(plan, testing_support::FakeDriverPortOpener(script, log), [&](int tick) {
        if (tick >= ticks) return false;
        device.InsertCoin(1 + tick % 6);
        if (beforeTick) beforeTick(device, tick);
        return true;
    });
    return input;
}

void PollbenchSeeds() {
    using namespace pollbench_plan;
    sim::StandardConfig standard;
    Seed("fuzz_pollbench", "identify-poll", PollbenchSeed(PollbenchPlan(kNoCommand), standard, 4));
    Seed("fuzz_pollbench", "identify-poll-sealed", PollbenchSeed(PollbenchPlan(kNoCommand), standard, 4, true));
    Seed("fuzz_pollbench", "accept-limit", PollbenchSeed(PollbenchPlan(kSetAcceptLimit, kAcceptLimit), standard, 3));
    Seed("fuzz_pollbench", "inhibits", PollbenchSeed(PollbenchPlan(kWriteInhibits), standard, 3));
    Seed("fuzz_pollbench", "teach", PollbenchSeed(PollbenchPlan(kTeach), standard, 3));
    sim::StandardConfig longSorter = standard;
    longSorter.longSorter = true;
    longSorter.productCode = "QX-7";
    Seed("fuzz_pollbench", "long-sorter-qx", PollbenchSeed(PollbenchPlan(kWriteSorterPaths, kLongSorter), longSorter, 3));
    Seed("fuzz_pollbench", "reset-question",
         PollbenchSeed(PollbenchPlan(kNoCommand, kReinitialize), standard, 4, false, [](sim::StandardAcceptor& d, int tick) {
             if (tick == 2) d.ResetCounter();
         }));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    g_corpus = fs::absolute(argv[1]);
    PrepareScratchFolder(nullptr, nullptr);
    InScratchFolder inside; // the log dumps are written there
    FileSeeds();
    DucatSeeds();
    PollbenchSeeds();
    return 0;
}
