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

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RemainingMs(long long deadlineMs) {
    return static_cast<int>(std::max(0LL, deadlineMs - NowMs()));
}

void MakeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return;
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    slavePath_ = name;
    MakeRaw(master_);
    MakeRaw(slave_);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    closeMaster();
    if (slave_ >= 0) ::close(slave_);
}

void PtyPair::closeMaster() {
    if (master_ < 0) return;
    ::close(master_);
    master_ = -1;
}

bool PtyPair::writeMaster(std::string_view bytes, int timeoutMs) {
    const long long deadline = NowMs() + timeoutMs;
    while (!bytes.empty()) {
        if (master_ < 0) return false;
        pollfd p{master_, POLLOUT, 0};
        if (::poll(&p, 1, RemainingMs(deadline)) <= 0) return false;
        const ssize_t n = ::write(master_, bytes.data(), bytes.size());
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool PtyPair::readSome(std::string& into, std::size_t limit, long long deadlineMs) {
    if (master_ < 0) return false;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, RemainingMs(deadlineMs)) <= 0) return false;
    char buf[4096];
    const ssize_t n = ::read(master_, buf, std::min(limit, sizeof buf));
    if (n > 0) {
        into.append(buf, static_cast<std::size_t>(n));
        return true;
    }
    return n < 0 && (errno == EAGAIN || errno == EINTR);
}

std::string PtyPair::readMaster(std::size_t n, int timeoutMs) {
    const long long deadline = NowMs() + timeoutMs;
    std::string got;
    while (got.size() < n && readSome(got, n - got.size(), deadline)) {
    }
    return got;
}

}  // namespace sondix::test
