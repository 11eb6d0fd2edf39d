#include "ui/console/sim/in_process_acceptor.h"

#include "sim/ducat/ducat_acceptor.h"
#include "sim/pty/pty_server.h"

InProcessAcceptor::InProcessAcceptor() = default;

InProcessAcceptor::~InProcessAcceptor() {
    if (server_) server_->Stop();
}

bool InProcessAcceptor::Start(const sim::DucatSimOptions& options, std::string& error) {
    addressGiven_ = options.address >= 0;
    acceptor_ = std::make_unique<sim::DucatAcceptor>();
    sim::ApplyDucatSimOptions(options, *acceptor_);
    sim::ServerOptions serverOptions;
    serverOptions.line = options.line;
    server_ = std::make_unique<sim::PtyServer>(*acceptor_, serverOptions);
    if (!server_->Ok()) {
        error = "cannot open a pty for the virtual acceptor";
        return false;
    }
    server_->Start();
    return true;
}

const std::string& InProcessAcceptor::PortName() const { return server_->HostPath(); }

void InProcessAcceptor::AnswerAt(uint32_t address) {
    if (addressGiven_) return;
    server_->WithDevice([address](sim::Device& device) {
        static_cast<sim::DucatAcceptor&>(device).identity.address = static_cast<uint8_t>(address & 0xFF);
    });
}
