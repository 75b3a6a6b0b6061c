// sondix-sim: a simulated FMCW radar sensor on a pseudo-terminal. The device path is the first
// and only line on stdout; everything else goes to stderr.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "options.h"
#include "pty_port.h"
#include "serve.h"

int main(int argc, char** argv) {
    using namespace sondix::sim;
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "sondix-sim: %s\nRun sondix-sim --help for the options.\n",
                     error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(Usage().c_str(), stderr);
        return 0;
    }

    // The stop signals arrive through a descriptor the loop polls, so no handler is needed.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    const int signalFd = signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK);
    signal(SIGPIPE, SIG_IGN);
    if (signalFd < 0) {
        std::perror("sondix-sim: signalfd");
        return 1;
    }

    PtyPort port;
    if (!port.Open(error)) {
        std::fprintf(stderr, "sondix-sim: %s\n", error.c_str());
        return 1;
    }
    DeviceLink link;
    if (!options->link.empty() && !link.Create(port.DevicePath(), options->link, error)) {
        std::fprintf(stderr, "sondix-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", port.DevicePath().c_str());
    std::fflush(stdout);

    Serve(*options, port, signalFd);
    link.Remove();
    port.Close();
    ::close(signalFd);
    return 0;
}
