#include "sim_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sondix::test {

SimProcess::SimProcess(std::vector<std::string> options) {
    int out[2];
    if (pipe(out) != 0) return;
    std::vector<std::string> args{SONDIX_SIM_PATH};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    if (posix_spawn(&pid_, argv[0], &fa, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);

    // The first line is the device path; give the simulator a few seconds to come up.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    while (pid_ > 0 && poll(&p, 1, 5000) > 0) {
        char c;
        if (read(out[0], &c, 1) != 1 || c == '\n') break;
        line += c;
    }
    close(out[0]);
    device_ = line;
}

int SimProcess::stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    return wait(5);
}

int SimProcess::wait(double seconds) {
    for (int i = 0; pid_ > 0 && i <= seconds * 100; ++i) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        usleep(10000);
    }
    return -1;
}

SimProcess::~SimProcess() {
    stop();
}

}  // namespace sondix::test
