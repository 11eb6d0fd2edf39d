// A pseudo-terminal pair: the device side (master) for the virtual
// acceptor, the host side (slave path) for the programs. POSIX only.
#pragma once

#include <string>

namespace sim {

class PtyPair {
public:
    PtyPair();  // opens a raw master and names its slave; check Ok()
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return master_ >= 0; }
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slave_; }

    // Makes `linkPath` a symbolic link to the slave (replacing an old link).
    bool LinkAs(const std::string& linkPath);

    // Goes away as an unplugged adapter does: the host side hangs up, its
    // device node and the link to it disappear. Ok() is false afterwards.
    void HangUp();

private:
    int master_ = -1;
    int slaveKeeper_ = -1; // keeps the slave alive between host openings
    std::string slave_;
    std::string link_;
};

} // namespace sim
