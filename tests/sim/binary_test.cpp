// The built sondix-sim on a real pseudo-terminal: device path on stdout, raw device, a whole
// listing, serial pacing, the link, clients coming and going, the hang-up.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sensor.h"

namespace sondix::sim {
namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// Reads `fd` until the text ends with `end`, `count` bytes have come, or time is up.
std::string ReadUntil(int fd, const std::string& end, std::size_t count, double seconds,
                      int* reads = nullptr, bool* hungUp = nullptr) {
    std::string got;
    const auto start = Clock::now();
    while (Since(start) < seconds && !(count && got.size() >= count)) {
        if (!end.empty() && got.ends_with(end)) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) {
            if (hungUp) *hungUp = true;
            break;
        }
        if (reads) ++*reads;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

// The simulator as a child process, its log of clients silenced; stopped with SIGTERM when the
// object goes.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            const int null = open("/dev/null", O_WRONLY);
            if (null >= 0) dup2(null, STDERR_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<char*> argv;
            std::string prog = SONDIX_SIM_PATH;
            argv.push_back(prog.data());
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(prog.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        // The first line is the device path; the pipe stays open so that the child's writes
        // never fail.
        stdout_ = out[0];
        device_ = ReadUntil(stdout_, "\n", 0, 5);
        if (device_.ends_with('\n')) device_.pop_back();
    }
    ~SimProcess() {
        Stop();
        if (stdout_ >= 0) close(stdout_);
    }

    const std::string& Device() const { return device_; }

    // SIGTERM, then the exit status (-1 when it did not end within two seconds).
    int Stop() {
        if (pid_ > 0) kill(pid_, SIGTERM);
        return Wait(2.0);
    }

    int Wait(double seconds) {
        const auto start = Clock::now();
        while (pid_ > 0 && Since(start) < seconds) {
            int st = 0;
            if (waitpid(pid_, &st, WNOHANG) == pid_) {
                pid_ = -1;
                status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
            } else {
                usleep(10000);
            }
        }
        return pid_ > 0 ? -1 : status_;
    }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int status_ = -1;
    std::string device_;
};

// The host's side: the device opened raw with plain POSIX calls.
class Device {
  public:
    explicit Device(const std::string& path)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        cfsetspeed(&t, B9600);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~Device() {
        if (fd_ >= 0) close(fd_);
    }
    bool Ok() const { return fd_ >= 0; }
    bool Send(const std::string& s) {
        return write(fd_, s.data(), s.size()) == static_cast<ssize_t>(s.size());
    }
    std::string ReadUntil(const std::string& end, std::size_t count, double seconds,
                          int* reads = nullptr, bool* hungUp = nullptr) {
        return sim::ReadUntil(fd_, end, count, seconds, reads, hungUp);
    }

  private:
    int fd_;
};

TEST(SimBinary, AnswersAWholeListingOnItsDevice) {
    SimProcess sim({"--baud", "0"});
    ASSERT_EQ(sim.Device().rfind("/dev/", 0), 0u) << "first stdout line: " << sim.Device();
    Device dev(sim.Device());
    ASSERT_TRUE(dev.Ok());
    ASSERT_TRUE(dev.Send("P"));
    const std::string listing = dev.ReadUntil("  ***  \r\n", 0, 5);
    EXPECT_EQ(listing.rfind("P\r\n", 0), 0u);
    EXPECT_NE(listing.find("Password=417\r\n"), std::string::npos);
    EXPECT_EQ(listing.substr(listing.size() - 9), "  ***  \r\n");
    EXPECT_LT(listing.size(), 4000u);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimBinary, PacesLikeASerialLine) {
    const std::size_t n = Sensor(Config{}).Feed("?").size();
    SimProcess sim({"--baud", "2400"});
    Device dev(sim.Device());
    ASSERT_TRUE(dev.Ok());
    const auto start = Clock::now();
    ASSERT_TRUE(dev.Send("?"));
    const std::string help = dev.ReadUntil("", n, 4);
    const double ratio = Since(start) / (n * 10.0 / 2400);
    EXPECT_EQ(help.size(), n);
    EXPECT_GT(ratio, 0.8);
    EXPECT_LT(ratio, 1.6);
}

TEST(SimBinary, KeepsServingClientsThatComeAndGoAndRemovesItsLink) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("sondix-sim-test-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path link = dir / "sensor";
    SimProcess sim({"--baud", "0", "--link", link.string(), "--split", "2:9"});
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), sim.Device());
    for (int round = 0; round < 3; ++round) {
        Device dev(link.string());
        ASSERT_TRUE(dev.Ok());
        ASSERT_TRUE(dev.Send("E"));
        EXPECT_EQ(dev.ReadUntil("OK\r\n", 0, 3), "E\r\nOK\r\n") << "round " << round;
    }
    {
        // Split output arrives in several reads, and whole.
        Device dev(link.string());
        ASSERT_TRUE(dev.Send("L"));
        int reads = 0;
        const std::string logo = dev.ReadUntil("  ***  \r\n", 0, 3, &reads);
        EXPECT_EQ(logo, Sensor(Config{}).Feed("L"));
        EXPECT_GT(reads, 3);
    }
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    fs::remove_all(dir);
}

TEST(SimBinary, HangsUpLikeAnUnpluggedAdapter) {
    SimProcess sim({"--baud", "0", "--hangup-after", "0.3"});
    Device dev(sim.Device());
    ASSERT_TRUE(dev.Ok());
    bool hungUp = false;
    dev.ReadUntil("", 0, 3, nullptr, &hungUp);
    EXPECT_TRUE(hungUp);
    EXPECT_EQ(sim.Wait(2), 0);
}

}  // namespace
}  // namespace sondix::sim
