#include "history.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "reading.h"
#include "status_lines.h"
#include "text_fields.h"

namespace sondix::sim {

double HistLogSeconds(long long histLog) {
    constexpr double kSeconds[] = {2, 10, 60, 600, 3600, 10800};
    return histLog >= 0 && histLog <= 5 ? kSeconds[histLog] : 0.0;
}

std::string HistoryRecord(long long ticks, std::uint32_t status, double value, long loopUa,
                          int signalCode, int noiseCode, int relays, int temperature,
                          double value2) {
    return IntField(ticks, 12) + " " + Hex8(status) + IntField(RoundSat(value), 6) +
           IntField(loopUa, 6) + IntField(signalCode, 4) + IntField(noiseCode, 4) +
           IntField(relays, 2) + "  " + IntField(temperature, 4) + IntField(RoundSat(value2), 11);
}

std::string HistoryAnswer(const AnswerContext& c, const Target& target, double now,
                          const HistoryPlan& plan, std::uint64_t seed) {
    std::string out = kCrLf + LogoLines(c.variant, c.firmware) + TimerLine(c.ticks) +
                      StatusLines(c, true) + "VELHIST N=" + Plain(plan.records) +
                      " DT=" + Plain(RoundSat(plan.interval)) + "s" + kCrLf;
    Rng noise(MixSeed(seed, 0x48));
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(plan.records, 0)));
    for (int k = 0; k < plan.records; ++k) {
        const double t = now - (plan.records - 1 - k) * plan.interval;
        const bool lost = plan.loeEvery > 0 && (k + 1) % plan.loeEvery == 0;
        const Reading r = Measure(c.variant, target, c.params, t, noise, lost);
        const bool velocity = c.variant == Variant::Velocimeter;
        lines.push_back(HistoryRecord(TimerTicks(target, t), r.status, r.Main(c.variant), r.loopUa,
                                      r.signalCode, r.noiseCode, r.relays, r.temperature,
                                      velocity ? r.total : r.velocity));
    }
    if (plan.shuffle) {
        for (std::size_t k = 4; k + 1 < lines.size(); k += 7)
            std::swap(lines[k], lines[k + 1]);
    }
    for (const std::string& l : lines)
        out += l + kCrLf;
    return out + kTerminator + kCrLf;
}

}  // namespace sondix::sim
