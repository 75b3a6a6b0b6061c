#include "progress.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

namespace sondix::cli {
namespace {

constexpr double kEvery = 0.25;  // seconds between two updates of the line

}  // namespace

Progress::Progress() : enabled_(isatty(STDERR_FILENO) == 1) {}

std::string Progress::Line(std::string_view what, long long received, long long expected,
                           double elapsed) {
    std::string line = std::string(what) + ": " + std::to_string(received);
    if (expected <= 0) return line + " bytes";
    line += " of " + std::to_string(expected) + " bytes";
    if (received <= 0 || elapsed <= 0 || received >= expected) return line;
    const double left =
        static_cast<double>(expected - received) * elapsed / static_cast<double>(received);
    return line + ", " + std::to_string(std::lround(std::ceil(left))) + " s left";
}

void Progress::Show(std::string_view what, long long received, long long expected, double elapsed) {
    if (!enabled_ || elapsed - lastShown_ < kEvery) return;
    lastShown_ = elapsed;
    std::fprintf(stderr, "\r%s\033[K", Line(what, received, expected, elapsed).c_str());
    std::fflush(stderr);
    shown_ = true;
}

void Progress::Done() {
    if (!shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
    lastShown_ = -1;
}

}  // namespace sondix::cli
