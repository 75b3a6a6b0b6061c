#include "serve.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "sensor.h"
#include "transmitter.h"

namespace sondix::sim {
namespace {

constexpr int kTickMs = 20;  // streams and timeouts are looked after at least this often

// Streams faster than the tick (a long session compressed into seconds) are looked after as
// often as they are due, so that the quiet gap before a spectrum is noticed in time.
int TickMs(const Config& c) {
    const double fastest = std::min(c.spectrumGap, std::min(c.spectrumInterval, c.resultsInterval));
    return std::clamp(static_cast<int>(fastest * 1000.0), 1, kTickMs);
}
// The interpreter's reaction time. A real sensor needs a few milliseconds too; answering at
// once could race the host, which clears its answer buffer just after sending a command.
constexpr double kAnswerDelay = 0.02;

void Log(const char* what) {
    std::fprintf(stderr, "sondix-sim: %s\n", what);
}

class Loop {
  public:
    Loop(const CliOptions& o, PtyPort& port, int signalFd)
        : options_(o),
          port_(port),
          signalFd_(signalFd),
          sensor_(o.sensor),
          tx_(o.line),
          tickMs_(TickMs(o.sensor)) {}

    void Run() {
        for (;;) {
            const double now = Now();
            if (options_.hangupAfter > 0 && now >= options_.hangupAfter) {
                Log("hanging up");
                return;
            }
            tx_.Push(sensor_.Tick(now, tx_.Empty()));
            if (!connected_) tx_.Clear();
            if (connected_) Transmit(now);
            if (!(connected_ ? WaitConnected(now) : WaitDisconnected())) return;
        }
    }

  private:
    double Now() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

    void Transmit(double now) {
        writeBlocked_ = false;
        for (;;) {
            const std::string_view block = tx_.Ready(now);
            if (block.empty()) return;
            const ssize_t n = ::write(port_.Fd(), block.data(), block.size());
            if (n <= 0) {
                writeBlocked_ = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
                return;
            }
            tx_.Sent(static_cast<std::size_t>(n), now);
            if (static_cast<std::size_t>(n) < block.size()) {
                writeBlocked_ = true;
                return;
            }
        }
    }

    int TimeoutMs(double now) const {
        // A blocked write waits for POLLOUT rather than spinning on a block that is "ready".
        const double due = writeBlocked_ ? now + tickMs_ * 0.001 : tx_.NextTime(now);
        double next = std::min(due, now + tickMs_ * 0.001);
        if (options_.hangupAfter > 0) next = std::min(next, options_.hangupAfter);
        return std::clamp(static_cast<int>(std::ceil((next - now) * 1000.0)), 0, tickMs_);
    }

    // Reads what the client sent; false when the client has gone.
    bool Receive() {
        char buf[4096];
        std::string bytes;
        bool gone = false;
        for (;;) {
            const ssize_t n = ::read(port_.Fd(), buf, sizeof buf);
            if (n > 0) {
                bytes.append(buf, static_cast<std::size_t>(n));
                continue;
            }
            gone = n < 0 && errno == EIO;
            break;
        }
        if (!bytes.empty()) {
            const double now = Now();
            std::string out = sensor_.Feed(bytes, now);
            if (sensor_.TakeFlushRequest()) tx_.Clear();
            if (tx_.Empty()) tx_.HoldUntil(now + kAnswerDelay);
            tx_.Push(out);
        }
        return !gone;
    }

    bool WaitConnected(double now) {
        pollfd fds[2] = {
            {port_.Fd(), static_cast<short>(POLLIN | (writeBlocked_ ? POLLOUT : 0)), 0},
            {signalFd_, POLLIN, 0}};
        if (::poll(fds, 2, TimeoutMs(now)) < 0 && errno != EINTR) return false;
        if (fds[1].revents & POLLIN) return false;
        bool alive = true;
        if (fds[0].revents & POLLIN) alive = Receive();
        if (!alive || (fds[0].revents & POLLHUP)) {
            Log("client closed the device");
            connected_ = false;
            tx_.Clear();
        }
        return true;
    }

    // Nobody has the device open: look again every tick; a new client gets raw mode again.
    bool WaitDisconnected() {
        pollfd sig = {signalFd_, POLLIN, 0};
        if (::poll(&sig, 1, kTickMs) < 0 && errno != EINTR) return false;
        if (sig.revents & POLLIN) return false;
        pollfd dev = {port_.Fd(), POLLIN, 0};
        ::poll(&dev, 1, 0);
        if (dev.revents & POLLHUP) {
            // Drain what the last client left behind so that poll reports only the hang-up.
            if (dev.revents & POLLIN) {
                char buf[4096];
                while (::read(port_.Fd(), buf, sizeof buf) > 0) {
                }
            }
            return true;
        }
        Log("client opened the device");
        connected_ = true;
        port_.MakeRaw();
        if (dev.revents & POLLIN) Receive();
        return true;
    }

    const CliOptions& options_;
    PtyPort& port_;
    int signalFd_;
    Sensor sensor_;
    Transmitter tx_;
    int tickMs_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool connected_ = true;
    bool writeBlocked_ = false;
};

}  // namespace

void Serve(const CliOptions& options, PtyPort& port, int signalFd) {
    Loop(options, port, signalFd).Run();
}

}  // namespace sondix::sim
