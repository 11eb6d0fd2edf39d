#include "tests/fuzz/fuzz_files.h"

#include "coindata/files/checksum_envelope.h"
#include "platform/message_box.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kSealedForm = 1; // first byte, low bit: add the checksum trailer
const char* const kProgramFolders[] = {"Coins Stat", "Export"};

int g_messageBoxes = 0;

constexpr char kArtifactFlag[] = "-artifact_prefix=";

// The folder and its removal at exit.
struct ScratchFolder {
    fs::path path;
    fs::path started; // the current directory outside the inputs
    ~ScratchFolder() {
        if (path.empty()) return;
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};
ScratchFolder g_folder;

// The command line with an -artifact_prefix added; lives as long as the program.
std::vector<std::string> g_arguments;
std::vector<char*> g_argv;

fs::path TemporaryRoot() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error)) return "/dev/shm";
    return fs::temp_directory_path();
}

void AddArtifactPrefix(int* argc, char*** argv) {
    if (argc == nullptr || argv == nullptr) return;
    for (int i = 0; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], kArtifactFlag, std::strlen(kArtifactFlag)) == 0) return;
    }
    g_arguments.assign(*argv, *argv + *argc);
    g_arguments.push_back(kArtifactFlag + (g_folder.started / "").string());
    for (std::string& argument : g_arguments) g_argv.push_back(argument.data());
    g_argv.push_back(nullptr);
    *argc = static_cast<int>(g_arguments.size());
    *argv = g_argv.data();
}

} // namespace

void PrepareScratchFolder(int* argc, char*** argv) {
    std::string pattern = (TemporaryRoot() / "cat-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    g_folder.path = pattern;
    g_folder.started = fs::current_path();
    for (const char* folder : kProgramFolders) fs::create_directory(g_folder.path / folder);
    platform::SetMessageBoxHandler([](const platform::MessageBoxRequest&) {
        ++g_messageBoxes;
        return platform::MessageAnswer::Ok;
    });
    AddArtifactPrefix(argc, argv);
}

InScratchFolder::InScratchFolder() { fs::current_path(g_folder.path); }
InScratchFolder::~InScratchFolder() { fs::current_path(g_folder.started); }

void WriteScratchFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

void ClearScratchFiles() {
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(g_folder.path, ignored)) {
        if (entry.is_regular_file(ignored)) fs::remove(entry.path(), ignored);
    }
}

int TakeMessageBoxCount() {
    const int n = g_messageBoxes;
    g_messageBoxes = 0;
    return n;
}

std::vector<uint8_t> WithEnvelope(std::vector<uint8_t> content) {
    const int32_t sum = ContentSum(content.data(), content.size());
    content.resize(content.size() + kEnvelopeBytes);
    StoreEnvelope(content.data() + content.size() - kEnvelopeBytes, sum);
    return content;
}

std::vector<uint8_t> FileFromInput(const uint8_t* data, size_t size) {
    const bool sealed = size > 0 && (data[0] & kSealedForm) != 0;
    std::vector<uint8_t> bytes;
    if (size > 0) bytes.assign(data + 1, data + size);
    return sealed ? WithEnvelope(std::move(bytes)) : bytes;
}

std::vector<uint8_t> SealedInput(const std::vector<uint8_t>& content) {
    // Sized once: g++ -O3 misreads a growing one-byte vector as out of bounds.
    std::vector<uint8_t> input(content.size() + 1, kSealedForm);
    std::copy(content.begin(), content.end(), input.begin() + 1);
    return input;
}
