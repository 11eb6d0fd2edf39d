#include "demo/report/poll_session.h"

#include "demo/driver/event_decoding.h"
#include "demo/texts/coin_value.h"
#include "demo/texts/error_text.h"
#include "platform/csv_field.h"
#include "platform/local_time.h"
#include "platform/text_encoding.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr char kEventsFile[] = "events.csv";
constexpr char kSummaryFile[] = "summary.csv";
constexpr char kEventsHeader[] =
    "time,event_counter,result_a,result_b,event,position,coin_id,sorter_path,error_code,error_text,note\n";
constexpr char kSummaryHeader[] = "kind,code,coin_id,value,count,money,text\n";

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

std::string RateText(double rate) {
    if (rate < 0) return std::string();
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", rate);
    return text;
}

std::string Number(unsigned n) { return std::to_string(n); }

} // namespace

namespace {

class CoreCoins final : public SessionCoins {
public:
    explicit CoreCoins(const CDemoCore& core) : core_(core) {}
    std::string CoinId(size_t index) const override { return core_.coinId[index]; }
    uint32_t CoinValue(size_t index) const override { return core_.coinValue[index]; }

private:
    const CDemoCore& core_;
};

} // namespace

PollSession::PollSession(const CDemoCore& core)
    : coreCoins_(std::make_unique<CoreCoins>(core)), coins_(*coreCoins_) {}

PollSession::PollSession(const SessionCoins& coins) : coins_(coins) {}

PollSession::~PollSession() {
    if (events_ != nullptr) std::fclose(events_);
}

bool PollSession::OpenReport(const std::string& folder, std::string& error) {
    if (!MakeFolder(folder)) {
        error = "cannot make the report folder " + folder;
        return false;
    }
    folder_ = folder;
    const std::string path = folder + "/" + kEventsFile;
    events_ = std::fopen(path.c_str(), "wb");
    if (events_ == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    std::fputs(kEventsHeader, events_);
    std::fflush(events_);
    return true;
}

void PollSession::OnEventsRead(const PollCounts& counts) {
    const std::string time = platform::LocalTimeText();
    if (counts.lost != 0) TakeLost(time, counts.counter, counts.lost);
    for (const PollEvent& event : counts.events) TakeEvent(time, event);
    TakeCredits(counts);
}

void PollSession::TakeLost(const std::string& time, uint8_t counter, int lost) {
    const std::string notice = LostEventsText(lost);
    sums_.lost += static_cast<unsigned>(lost);
    notices_.push_back(notice);
    WriteEventRow(time, counter, 0, 0, notice);
}

void PollSession::TakeEvent(const std::string& time, const PollEvent& event) {
    ++sums_.events;
    if (event.resultA == 0) ++sums_.errors[event.resultB];
    WriteEventRow(time, event.counter, event.resultA, event.resultB, std::string());
}

void PollSession::TakeCredits(const PollCounts& counts) {
    sums_.rejects += counts.coins[0];
    for (int p = 1; p <= kCoinPositions; ++p) {
        const size_t at = static_cast<size_t>(p);
        const unsigned credits = counts.coins[at];
        if (credits == 0) continue;
        // Valued with the table of the moment: the one the core counts them with.
        const size_t i = at - 1;
        counted_[at] = {coins_.CoinId(i), coins_.CoinValue(i)};
        sums_.credits[at] += credits;
        sums_.money[at] += credits * counted_[at].value;
        if (counted_[at].value == 0) sums_.unpriced += credits;
    }
}

void PollSession::WriteEventRow(const std::string& time, uint8_t counter, uint8_t a, uint8_t b,
                                const std::string& note) {
    if (events_ == nullptr) return;
    std::string row = time + "," + Number(counter) + ",";
    if (!note.empty()) {
        row += ",,lost,,,,,," + platform::CsvField(note);
    } else if (a != 0) {
        const std::string id = a <= kCoinPositions ? coins_.CoinId(a - 1u) : std::string();
        row += Number(a) + "," + Number(b) + ",credit," + Number(a) + "," + platform::CsvField(id) + "," + Number(b) + ",,,";
    } else {
        row += Number(a) + "," + Number(b) + "," + (IsCountedReject(b) ? "reject" : "error") + ",,,," + Number(b) +
               "," + platform::CsvField(ErrorText(b)) + ",";
    }
    row += "\n";
    std::fputs(row.c_str(), events_);
    std::fflush(events_);
}

std::vector<std::string> PollSession::TakeNotices() {
    std::vector<std::string> taken;
    taken.swap(notices_);
    return taken;
}

double PollSession::AcceptanceRate() const {
    unsigned credits = 0;
    for (int p = 1; p <= kCoinPositions; ++p) credits += sums_.credits[static_cast<size_t>(p)];
    const unsigned coins = credits + sums_.rejects;
    return coins == 0 ? -1.0 : 100.0 * credits / coins;
}

std::vector<PositionSum> PollSession::PositionSums() const {
    std::vector<PositionSum> sums;
    for (int p = 1; p <= kCoinPositions; ++p) {
        const size_t i = static_cast<size_t>(p - 1);
        const size_t at = static_cast<size_t>(p);
        const unsigned credits = sums_.credits[at];
        const CountedCoin coin = credits != 0 ? counted_[at] : CountedCoin{coins_.CoinId(i), coins_.CoinValue(i)};
        sums.push_back({p, coin.id, coin.value, credits, sums_.money[at]});
    }
    return sums;
}

std::string PollSession::SummaryTable() const {
    std::string table = "Pos  ID        Value  Credits     Money\n";
    char row[160];
    uint32_t money = 0;
    for (const PositionSum& s : PositionSums()) {
        money += s.money;
        if (s.credits == 0) continue;
        std::snprintf(row, sizeof row, "%3d  %-8s %6s  %7u  %8s\n", s.position,
                      platform::Cp1251ToTerminal(s.id).c_str(), MoneyText(s.value).c_str(),
                      s.credits, MoneyText(s.money).c_str());
        table += row;
    }
    for (const auto& e : sums_.errors) {
        std::snprintf(row, sizeof row, "error %u %s: %u\n", e.first, ErrorText(e.first), e.second);
        table += row;
    }
    const std::string rate = RateText(AcceptanceRate());
    std::snprintf(row, sizeof row, "money %s, counted rejects %u, lost events %u, acceptance %s\n",
                  MoneyText(money).c_str(), sums_.rejects, sums_.lost, rate.empty() ? "-" : (rate + " %").c_str());
    return table + row;
}

bool PollSession::FinishReport(std::string& error) {
    if (folder_.empty()) return true;
    if (events_ != nullptr) std::fclose(events_);
    events_ = nullptr;
    const std::string path = folder_ + "/" + kSummaryFile;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        error = "cannot write " + path;
        return false;
    }
    std::fputs(kSummaryHeader, f);
    uint32_t money = 0;
    unsigned credits = 0;
    for (const PositionSum& s : PositionSums()) {
        money += s.money;
        credits += s.credits;
        std::fprintf(f, "position,%d,%s,%s,%u,%s,\n", s.position, platform::CsvField(s.id).c_str(), MoneyText(s.value).c_str(),
                     s.credits, MoneyText(s.money).c_str());
    }
    for (const auto& e : sums_.errors) {
        std::fprintf(f, "error,%u,,,%u,,%s\n", e.first, e.second, platform::CsvField(ErrorText(e.first)).c_str());
    }
    std::fprintf(f, "session,credits,,,%u,%s,\n", credits, MoneyText(money).c_str());
    std::fprintf(f, "session,rejects,,,%u,,counted rejects\n", sums_.rejects);
    std::fprintf(f, "session,lost,,,%u,,events lost between polls\n", sums_.lost);
    std::fprintf(f, "session,acceptance,,,%s,,%% of credits and counted rejects\n", RateText(AcceptanceRate()).c_str());
    const bool written = std::fclose(f) == 0;
    if (!written) error = "cannot write " + path;
    return written;
}
