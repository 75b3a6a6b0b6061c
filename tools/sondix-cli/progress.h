// The progress line of a long transfer on standard error: bytes received of those expected and
// the time left, rewritten in place. Only when standard error is a terminal: a script or a log
// gets nothing.
#pragma once

#include <string>
#include <string_view>

namespace sondix::cli {

class Progress {
  public:
    Progress();  // looks whether standard error is a terminal
    explicit Progress(bool enabled) : enabled_(enabled) {}

    // At most a few times a second. expected 0: unknown (bytes only).
    void Show(std::string_view what, long long received, long long expected, double elapsed);
    // Clears the line (once something was shown).
    void Done();

    // The line itself: "spectrum: 2100 of 6500 bytes, 3 s left".
    static std::string Line(std::string_view what, long long received, long long expected,
                            double elapsed);

  private:
    bool enabled_;
    bool shown_ = false;
    double lastShown_ = -1;
};

}  // namespace sondix::cli
