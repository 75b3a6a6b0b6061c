#include "sensor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "answer_context.h"
#include "data_graph.h"
#include "history.h"
#include "listing.h"
#include "reading.h"
#include "results.h"
#include "short_answers.h"
#include "text_fields.h"

namespace sondix::sim {
namespace {

constexpr double kLongestLogInterval = 10800;  // HistLog 5, three hours
constexpr double kStreamLossRate = 0.025;      // an occasional lost echo in the streams

double ParseRevision(const std::string& text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "23000400", "47-01500": two index digits and six characters, optionally signed.
bool ParseSet(const std::string& t, int& index, long& value) {
    if (t.size() != 8 || !IsDigit(t[0]) || !IsDigit(t[1])) return false;
    index = (t[0] - '0') * 10 + (t[1] - '0');
    const bool negative = t[2] == '-';
    long v = 0;
    for (std::size_t i = negative ? 3 : 2; i < t.size(); ++i) {
        if (!IsDigit(t[i])) return false;
        v = v * 10 + (t[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

std::size_t Needed(InputMode m) {
    return m == InputMode::SetDigits ? 8 : m == InputMode::CodeDigits ? 3 : 0;
}

}  // namespace

SensorState::SensorState(const Config& c)
    : config(c),
      firmware(FirmwareOf(c)),
      firmwareRev(ParseRevision(firmware)),
      params(c.variant, firmwareRev),
      rng(MixSeed(c.seed, 1)) {
    const double span =
        std::max(0, c.historyRecords) * std::max(c.historyInterval, kLongestLogInterval);
    target = MakeTarget(c.variant, params.Get("CalFac"), params.Get("CalDopplr"), c.seed, span);
}

Sensor::Sensor(Config config) : s_(config) {}

namespace {

AnswerContext Context(SensorState& s, double now, bool loss) {
    const Reading r = Measure(s.config.variant, s.target, s.params, now, s.rng, loss);
    return AnswerContext{s.config.variant,       s.firmware, s.params, r, TimerTicks(s.target, now),
                         s.acquisitions % 2 == 1};
}

// A graph takes a new sweep: the direction alternates from one to the next.
AnswerContext Sweep(SensorState& s, double now) {
    ++s.acquisitions;
    return Context(s, now, false);
}

}  // namespace

int Sensor::TimeWords() const {
    if (s_.config.nwords > 0) return s_.config.nwords;
    return std::clamp(s_.params.FftSize(), 512, 2048);
}

int Sensor::SpectrumWords() const {
    if (s_.config.nwords > 0) return s_.config.nwords;
    return std::clamp(s_.params.FftSize() / 2, 512, 2048);
}

bool Sensor::TakeFlushRequest() {
    return std::exchange(s_.flushRequested, false);
}

std::string Sensor::Feed(std::string_view bytes, double now) {
    std::string out;
    for (char c : bytes) {
        std::string piece = Handle(c, now);
        // "R" discards what the sensor had not yet sent, this call's earlier output included.
        if (s_.flushRequested) out.clear();
        out += piece;
    }
    return out;
}

std::string Sensor::Handle(char c, double now) {
    Input& in = s_.input;
    if (in.mode != InputMode::Command && now - in.since > s_.config.collectTimeout) in = Input{};
    if (in.mode != InputMode::Command) return Collect(c, now, true);
    return Command(c, now, true);
}

bool Sensor::StartsAnswer(char c) const {
    static constexpr std::string_view kAnswering = "?EPLTDFyH[{";
    return kAnswering.find(c) != std::string_view::npos;
}

void Sensor::StopStreams() {
    s_.streams.results = false;
    s_.streams.spectra = false;
}

std::string Sensor::Command(char c, double now, bool echo) {
    const std::string e = echo ? std::string(1, c) : std::string();
    if (StartsAnswer(c)) StopStreams();
    const Variant v = s_.config.variant;
    switch (c) {
        case '?':
            return e + HelpText();
        case 'E':
            return e + Acknowledge();
        case 'P':
            return e + ParameterListing(Context(s_, now, false));
        case 'L':
            return e + LogoAnswer(v, s_.firmware);
        case 'T':
            return e + TimerAnswer(TimerTicks(s_.target, now));
        case 'D':
            return e + TimeSeriesAnswer(Sweep(s_, now), TimeWords(), s_.rng);
        case 'y':
            return e + RampAnswer(Sweep(s_, now), TimeWords(), s_.rng);
        case 'F':
            return e + SpectrumAnswer(Sweep(s_, now), SpectrumWords(), s_.rng);
        case 'H': {
            HistoryPlan plan;
            plan.records = std::max(0, s_.config.historyRecords);
            plan.interval = s_.config.historyInterval > 0
                                ? s_.config.historyInterval
                                : HistLogSeconds(RoundSat(s_.params.Get("HistLog")));
            if (plan.interval <= 0) plan.records = 0;  // "never": nothing was logged
            plan.loeEvery = s_.config.historyLoeEvery;
            plan.shuffle = s_.config.historyShuffle;
            return e + HistoryAnswer(Context(s_, now, false), s_.target, now, plan, s_.config.seed);
        }
        case '[':
            s_.streams.spectra = true;
            s_.streams.spectrumLast = now;
            s_.streams.idleSince = -1;
            return e + kCrLf + StreamSpectrumAnswer(Sweep(s_, now), SpectrumWords(), s_.rng);
        case '{':
            s_.streams.results = true;
            s_.streams.resultsNext = now + s_.config.resultsInterval;
            // The first line follows the echo at once: a line end right after "{" would make
            // the host read an empty results line.
            return e + ResultsLine(Context(s_, now, s_.rng.Chance(kStreamLossRate)));
        case ']':
        case '}':
            StopStreams();
            return e + kCrLf;
        case 'R':
            StopStreams();
            s_.flushRequested = true;
            return e + kCrLf;
        case 's':
        case 'c':
        case 'I':
            s_.input.mode = c == 's'   ? InputMode::SetDigits
                            : c == 'c' ? InputMode::CodeDigits
                                       : InputMode::Line;
            s_.input.text.clear();
            s_.input.since = now;
            return e;
        case '\r':
            return echo ? kCrLf : "";
        case '\n':
            return {};
        default:
            return e;
    }
}

std::string Sensor::Collect(char c, double now, bool echo) {
    Input& in = s_.input;
    if (in.mode == InputMode::Line) {
        if (c == '\n' || c == '\r') return (echo ? kCrLf : "") + FinishLine(now);
        if (c == '\b' || c == 0x7F) {
            if (in.text.empty()) return {};
            in.text.pop_back();
            return echo ? "\b" : "";
        }
        in.text += c;
        return echo ? std::string(1, c) : std::string();
    }
    in.text += c;
    std::string out = echo ? std::string(1, c) : std::string();
    if (in.text.size() < Needed(in.mode)) return out;
    return out + (in.mode == InputMode::SetDigits ? FinishSet() : FinishCode(now));
}

std::string Sensor::FinishSet() {
    int index = 0;
    long value = 0;
    const bool ok = ParseSet(s_.input.text, index, value) && s_.params.ApplySet(index, value);
    s_.input = Input{};
    return SetAnswer(ok);
}

std::string Sensor::FinishCode(double now) {
    const std::string code = s_.input.text;
    s_.input = Input{};
    if (code != ZeroField(RoundSat(s_.params.Get("Password")), 3)) return CalibrationRefused();
    const Variant v = s_.config.variant;
    const Reading r = Measure(v, s_.target, s_.params, now, s_.rng, false);
    const double beat = std::fabs(CurrentBeat(v, s_.target, now));
    if (r.lossOfEcho || beat < 1e-3) return CalibrationNoEcho();
    // The target is taken to stand at the calibration distance (or move at the calibration
    // velocity): the factor is what maps today's beat frequency onto it.
    const double factor = (s_.params.Get("CalDist") - s_.params.Get("CalOffs")) / beat;
    s_.params.Put("CalFac", factor);
    return CalibrationDone();
}

std::string Sensor::FinishLine(double now) {
    const std::string line = s_.input.text;
    s_.input = Input{};
    std::string out;
    for (char c : line) {
        out +=
            s_.input.mode == InputMode::Command ? Command(c, now, false) : Collect(c, now, false);
    }
    // A line that ends inside a collection leaves nothing pending.
    if (s_.input.mode != InputMode::Command) s_.input = Input{};
    return out;
}

std::string Sensor::Tick(double now, bool lineIdle) {
    SensorState& s = s_;
    if (s.input.mode != InputMode::Command && now - s.input.since > s.config.collectTimeout) {
        s.input = Input{};
    }
    std::string out;
    Streams& st = s.streams;
    if (st.results && now >= st.resultsNext) {
        out += ResultsLine(Context(s, now, s.rng.Chance(kStreamLossRate)));
        st.resultsNext += s.config.resultsInterval;
        if (st.resultsNext <= now) st.resultsNext = now + s.config.resultsInterval;
    }
    if (!lineIdle) {
        st.idleSince = -1;
    } else if (st.idleSince < 0) {
        st.idleSince = now;
    }
    const bool quiet = lineIdle && now - st.idleSince >= s.config.spectrumGap;
    if (st.spectra && quiet && now - st.spectrumLast >= s.config.spectrumInterval) {
        out += StreamSpectrumAnswer(Sweep(s, now), SpectrumWords(), s.rng);
        st.spectrumLast = now;
        st.idleSince = -1;
    }
    return out;
}

}  // namespace sondix::sim
