// Start-up to the first command sent: the program is started against a pseudo-terminal (as the
// simulator offers one) and the clock stops when the first byte arrives on the sensor's side.
// Offscreen drawing, settings in a temporary folder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Milliseconds until the first byte, or a negative value when none came within 10 s.
double StartOnce(const std::string& config) {
    int master = -1, slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return -1;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.push_back(std::string("SONDIX_PORT=") + name);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_CONFIG_HOME=" + config);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = SONDIX_EXE;
    char* argv[] = {exe.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    pollfd p{master, POLLIN, 0};
    double ms = -1;
    if (poll(&p, 1, 10000) == 1 && (p.revents & POLLIN)) {
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                 .count();
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(master);
    close(slave);
    return ms;
}

void BM_StartupToFirstCommand(benchmark::State& state) {
    const auto config = std::filesystem::temp_directory_path() / "sondix-bench-startup";
    std::filesystem::create_directories(config);
    for (auto _ : state) {
        const double ms = StartOnce(config.string());
        if (ms < 0) {
            state.SkipWithError("no command arrived");
            break;
        }
        state.SetIterationTime(ms / 1000.0);
    }
    std::filesystem::remove_all(config);
}
BENCHMARK(BM_StartupToFirstCommand)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
