#include "sim/pty/pty_pair.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

PtyPair::PtyPair() {
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        ::close(fd);
        return;
    }
    char name[128];
    if (::ptsname_r(fd, name, sizeof name) != 0) {
        ::close(fd);
        return;
    }
    termios t{};
    if (::tcgetattr(fd, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(fd, TCSANOW, &t);
    }
    // Without an open slave the master reads EIO whenever the host closes
    // its side; holding one open keeps the line up between runs.
    slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeeper_ >= 0 && ::tcgetattr(slaveKeeper_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(slaveKeeper_, TCSANOW, &t);
    }
    master_ = fd;
    slave_ = name;
}

PtyPair::~PtyPair() { HangUp(); }

void PtyPair::HangUp() {
    if (!link_.empty()) ::unlink(link_.c_str());
    link_.clear();
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
    slaveKeeper_ = -1;
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

bool PtyPair::LinkAs(const std::string& linkPath) {
    ::unlink(linkPath.c_str());
    if (::symlink(slave_.c_str(), linkPath.c_str()) != 0) return false;
    link_ = linkPath;
    return true;
}

} // namespace sim
