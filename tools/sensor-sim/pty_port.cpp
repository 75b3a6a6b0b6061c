#include "pty_port.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sondix::sim {

PtyPort::~PtyPort() {
    Close();
}

bool PtyPort::Open(std::string& error) {
    fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        error = std::string("posix_openpt: ") + std::strerror(errno);
        return false;
    }
    if (grantpt(fd_) != 0 || unlockpt(fd_) != 0) {
        error = std::string("grantpt/unlockpt: ") + std::strerror(errno);
        Close();
        return false;
    }
    char name[256] = {};
    if (ptsname_r(fd_, name, sizeof name) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        Close();
        return false;
    }
    path_ = name;
    if (!MakeRaw()) {
        error = std::string("tcsetattr: ") + std::strerror(errno);
        Close();
        return false;
    }
    return true;
}

bool PtyPort::MakeRaw() {
    // Terminal settings asked of the master apply to the slave side.
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    return tcsetattr(fd_, TCSANOW, &t) == 0;
}

void PtyPort::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

DeviceLink::~DeviceLink() {
    Remove();
}

bool DeviceLink::Create(const std::string& target, const std::string& link, std::string& error) {
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(link.c_str());
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "symlink " + link + ": " + std::strerror(errno);
        return false;
    }
    path_ = link;
    return true;
}

void DeviceLink::Remove() {
    if (!path_.empty()) ::unlink(path_.c_str());
    path_.clear();
}

}  // namespace sondix::sim
