// A port laid over another: every call goes to the inner port unchanged
// unless the derived port overrides it. The wire trace's tap and the virtual
// acceptor's line errors each change one or three calls and keep the rest.
#pragma once

#include "platform/serial_port.h"

#include <memory>
#include <utility>

namespace platform {

class ForwardingPort : public SerialPort {
public:
    explicit ForwardingPort(std::unique_ptr<SerialPort> inner) : inner_(std::move(inner)) {}

    bool GetLine(LineSettings& settings) override { return inner_->GetLine(settings); }
    bool SetLine(const LineSettings& settings) override { return inner_->SetLine(settings); }
    bool GetTimeouts(Timeouts& timeouts) override { return inner_->GetTimeouts(timeouts); }
    bool SetTimeouts(const Timeouts& timeouts) override { return inner_->SetTimeouts(timeouts); }
    bool Purge(uint32_t flags) override { return inner_->Purge(flags); }
    bool ClearErrors(uint32_t& errors) override { return inner_->ClearErrors(errors); }
    bool Read(void* buffer, size_t n, size_t& got) override { return inner_->Read(buffer, n, got); }
    bool Write(const void* buffer, size_t n, size_t& written) override { return inner_->Write(buffer, n, written); }
    bool Close() override { return inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    uint32_t LastError() const override { return inner_->LastError(); }

protected:
    SerialPort& Inner() { return *inner_; }

private:
    std::unique_ptr<SerialPort> inner_;
};

} // namespace platform
