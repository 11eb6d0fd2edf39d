#include "scripted_port.h"

#include "demo/driver/cct_protocol.h"

#include <algorithm>
#include <cstring>

namespace {

class ScriptedPort final : public platform::SerialPort {
public:
    explicit ScriptedPort(std::shared_ptr<PortScript> s) : s_(std::move(s)) {}

    bool getLine(platform::LineSettings& line) override {
        line = s_->line;
        return !s_->failGetLine;
    }
    bool setLine(const platform::LineSettings& line) override {
        s_->line = line;
        return true;
    }
    bool getTimeouts(platform::Timeouts& t) override {
        t = s_->timeouts;
        return true;
    }
    bool setTimeouts(const platform::Timeouts& t) override {
        s_->timeouts = t;
        return true;
    }
    bool purge(uint32_t) override { return true; }
    bool clearErrors(uint32_t& errors) override {
        errors = 0;
        return true;
    }
    bool read(void* buffer, size_t n, size_t& got) override {
        s_->readSizes.push_back(n);
        got = 0;
        if (s_->failRead) return false;
        got = std::min(n, s_->input.size());
        std::memcpy(buffer, s_->input.data(), got);
        s_->input.erase(s_->input.begin(), s_->input.begin() + static_cast<std::ptrdiff_t>(got));
        return true;
    }
    bool write(const void* buffer, size_t n, size_t& written) override {
        written = std::min(n, s_->writeLimit);
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        s_->writes.emplace_back(bytes, bytes + written);
        if (s_->echo) s_->input.insert(s_->input.end(), bytes, bytes + written);
        if (!s_->replies.empty()) {
            s_->input.insert(s_->input.end(), s_->replies.front().begin(), s_->replies.front().end());
            s_->replies.pop_front();
        }
        return true;
    }
    bool close() override {
        ++s_->closes;
        return !s_->failClose;
    }
    bool isOpen() const override { return true; }
    uint32_t lastError() const override { return 0; }

private:
    std::shared_ptr<PortScript> s_;
};

} // namespace

PortOpener ScriptedOpener(std::shared_ptr<PortScript> script) {
    return [script](const std::string& name) -> std::unique_ptr<platform::SerialPort> {
        script->openedNames.push_back(name);
        if (script->failOpen) return nullptr;
        ++script->opens;
        return std::make_unique<ScriptedPort>(script);
    };
}

// Sized once and filled in place: growing a four-byte vector by insert
// makes g++ -O3 see a copy past its end (a false array-bounds warning).
std::vector<uint8_t> ReplyFrame(uint8_t source, const std::vector<uint8_t>& data, uint8_t header) {
    std::vector<uint8_t> frame(kCctFrameOverhead + data.size());
    frame[0] = HOST_ADDRESS;
    frame[1] = static_cast<uint8_t>(data.size());
    frame[2] = source;
    frame[3] = header;
    std::copy(data.begin(), data.end(), frame.begin() + kCctData);
    frame.back() = CctChecksum(frame.data(), frame.size() - 1);
    return frame;
}
