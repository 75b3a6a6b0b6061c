#include "response/graph_progress.h"

#include <cmath>

#include "response/dispatch_steps.h"
#include "terminal/comm_settings.h"
#include "terminal/session.h"

namespace sondix {

double LineCharsPerSecond(std::string_view settings) {
    CommSettings c;
    if (!ParseCommSettings(settings, c).empty()) return 0;
    const double stop = c.stop == StopBits::One ? 1 : c.stop == StopBits::Two ? 2 : 1.5;
    return c.baud / (1 + c.dataBits + (c.parity == 'n' ? 0 : 1) + stop);
}

std::string GraphProgressText(long long received, long long total, double charsPerSecond) {
    std::string text = "Status: data graph " + std::to_string(received) + " of " +
                       std::to_string(total) + " characters";
    if (charsPerSecond <= 0 || received >= total) return text;
    const auto left = static_cast<long long>(std::ceil((total - received) / charsPerSecond));
    return text + ", " + std::to_string(left) + " s left";
}

void ShowGraphProgress(Session& s, char key) {
    ParserState& p = s.parser;
    // The words and the terminator line that follows them.
    const long long total = dispatch::ExpectedTerminatorPos(p.NWords, key) + 6;
    const long long received = p.AnswerLen < total ? p.AnswerLen : total;
    const int percent = static_cast<int>(received * 100 / total);
    if (percent == p.ProgressShown || s.io.host == nullptr || s.io.port == nullptr) return;
    p.ProgressShown = percent;
    s.io.host->SetStatusPanel(
        GraphProgressText(received, total, LineCharsPerSecond(s.io.port->Settings())));
}

}  // namespace sondix
