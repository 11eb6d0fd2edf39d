#include "platform/trace_file.h"

#include "platform/heard_times.h"

#include <fstream>
#include <iterator>

namespace platform {
namespace {

constexpr size_t kLargestCapture = 64u * 1024 * 1024;
constexpr char kTraceSwitch[] = "--trace";

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool FirstLineIsTrace(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (line.empty()) continue;
        TraceLine parsed;
        std::string error;
        return ParseTraceLine(line, parsed, error);
    }
    return false;
}

// Words of a command line as the C runtime splits them: blanks separate,
// double quotes group.
std::vector<std::string> CommandLineWords(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

} // namespace

TraceFile::~TraceFile() { Close(); }

bool TraceFile::Open(const std::string& path, std::string& error) {
    Close();
    std::lock_guard<std::mutex> guard(lock_);
    if (path == "-") {
        file_ = stderr;
        ownsFile_ = false;
        return true;
    }
    file_ = std::fopen(path.c_str(), "ab");
    if (file_ == nullptr) {
        error = "cannot write the trace file " + path;
        return false;
    }
    ownsFile_ = true;
    return true;
}

void TraceFile::Write(const TraceLine& line) {
    const std::string text = FormatTraceLine(line) + "\n";
    std::lock_guard<std::mutex> guard(lock_);
    if (file_ == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

void TraceFile::Close() {
    std::lock_guard<std::mutex> guard(lock_);
    if (file_ != nullptr && ownsFile_) std::fclose(file_);
    file_ = nullptr;
    ownsFile_ = false;
}

bool ReadCapture(const std::string& path, Capture& capture, std::string& error) {
    capture = Capture{};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kLargestCapture) {
        error = path + " is larger than a capture can be (64 MiB)";
        return false;
    }
    in.seekg(0, std::ios::beg);
    std::string content(static_cast<size_t>(size), '\0');
    if (size > 0 && !in.read(&content[0], size)) {
        error = "cannot read " + path;
        return false;
    }
    std::vector<std::string> lines = SplitLines(content);
    if (FirstLineIsTrace(lines)) {
        capture.text = true;
        capture.lines = std::move(lines);
    } else {
        capture.bytes.assign(content.begin(), content.end());
    }
    return true;
}

int DecodeCapture(const std::string& path, std::FILE* out, std::FILE* err, const FrameDescriber& describe,
                  const RawCutter& cut) {
    Capture capture;
    std::string error;
    if (!ReadCapture(path, capture, error)) {
        std::fprintf(err, "%s\n", error.c_str());
        return -1;
    }
    int bad = 0;
    const auto print = [out, &bad](const TraceLine& line) {
        if (line.direction == TraceDirection::Noise) ++bad;
        std::fprintf(out, "%s\n", FormatTraceLine(line).c_str());
    };
    if (!capture.text) {
        for (const TraceLine& line : cut(capture.bytes)) print(line);
        return bad;
    }
    // A sniff's raw lines are one stream: cut together, each line with the
    // time its first byte was heard.
    std::vector<uint8_t> heard;
    HeardTimes times;
    const auto cutHeard = [&] {
        if (heard.empty()) return;
        for (TraceLine& line : cut(heard)) {
            times.Stamp(line);
            print(line);
        }
        heard.clear();
        times = HeardTimes{};
    };
    for (size_t i = 0; i < capture.lines.size(); ++i) {
        if (capture.lines[i].empty() || capture.lines[i][0] == '#') continue;
        TraceLine line;
        if (!ParseTraceLine(capture.lines[i], line, error)) {
            std::fprintf(err, "line %zu: %s\n", i + 1, error.c_str());
            ++bad;
            continue;
        }
        if (line.direction == TraceDirection::Raw) {
            heard.insert(heard.end(), line.bytes.begin(), line.bytes.end());
            times.Add(line.bytes.size(), line.time);
            continue;
        }
        cutHeard();
        if (CarriesFrame(line.direction)) line.meaning = describe(line.direction, line.bytes);
        print(line);
    }
    cutHeard();
    return bad;
}

bool FindTraceSwitch(const std::string& commandLine, std::string& path, std::string& error) {
    path.clear();
    const std::vector<std::string> words = CommandLineWords(commandLine);
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] != kTraceSwitch) continue;
        if (i + 1 >= words.size() || words[i + 1].empty()) {
            error = "--trace needs a file";
            return false;
        }
        path = words[i + 1];
    }
    return true;
}

} // namespace platform
