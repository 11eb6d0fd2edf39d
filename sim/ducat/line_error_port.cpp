#include "sim/ducat/line_error_port.h"

namespace sim {

LineErrorSignal& SharedLineErrors() {
    static LineErrorSignal signal;
    return signal;
}

LineErrorPort::LineErrorPort(std::unique_ptr<platform::SerialPort> inner, LineErrorSignal& signal)
    : inner_(std::move(inner)), signal_(signal) {}

bool LineErrorPort::GetLine(platform::LineSettings& settings) { return inner_->GetLine(settings); }
bool LineErrorPort::SetLine(const platform::LineSettings& settings) { return inner_->SetLine(settings); }
bool LineErrorPort::GetTimeouts(platform::Timeouts& timeouts) { return inner_->GetTimeouts(timeouts); }
bool LineErrorPort::SetTimeouts(const platform::Timeouts& timeouts) { return inner_->SetTimeouts(timeouts); }
bool LineErrorPort::Purge(uint32_t flags) { return inner_->Purge(flags); }

bool LineErrorPort::ClearErrors(uint32_t& errors) {
    const bool ok = inner_->ClearErrors(errors);
    errors |= signal_.Take();
    return ok;
}

bool LineErrorPort::Read(void* buffer, size_t n, size_t& got) { return inner_->Read(buffer, n, got); }
bool LineErrorPort::Write(const void* buffer, size_t n, size_t& written) {
    return inner_->Write(buffer, n, written);
}
bool LineErrorPort::Close() { return inner_->Close(); }
bool LineErrorPort::IsOpen() const { return inner_->IsOpen(); }
uint32_t LineErrorPort::LastError() const { return inner_->LastError(); }

std::unique_ptr<platform::SerialPort> OpenPortWithLineErrors(const std::string& name, uint32_t& error) {
    auto inner = platform::OpenSerialPort(name, error);
    if (!inner) return nullptr;
    return std::make_unique<LineErrorPort>(std::move(inner), SharedLineErrors());
}

} // namespace sim
