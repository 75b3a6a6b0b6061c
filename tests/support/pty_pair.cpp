#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace sondix::test {
namespace {

using Clock = std::chrono::steady_clock;

// Whether `fd` is ready for `events` before `deadline`.
bool Ready(int fd, short events, Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{fd, events, 0};
    return fd >= 0 && ::poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count()))) > 0;
}

}  // namespace

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    for (const int fd : {master_, slave_}) {
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    closeMaster();
    if (slave_ >= 0) ::close(slave_);
}

void PtyPair::closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

bool PtyPair::writeMaster(std::string_view bytes, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!bytes.empty()) {
        if (!Ready(master_, POLLOUT, deadline)) return false;
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string PtyPair::readMaster(std::size_t n, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    char buf[4096];
    while (got.size() < n && Ready(master_, POLLIN, deadline)) {
        const ssize_t r = ::read(master_, buf, std::min(n - got.size(), sizeof buf));
        if (r > 0) got.append(buf, static_cast<std::size_t>(r));
        if (r == 0 || (r < 0 && errno != EAGAIN && errno != EINTR)) break;
    }
    return got;
}

}  // namespace sondix::test
