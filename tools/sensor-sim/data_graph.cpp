#include "data_graph.h"

#include "results.h"
#include "signals.h"
#include "status_lines.h"
#include "text_fields.h"

namespace sondix::sim {
namespace {

// Status lines, time counter and sweep direction: what the host reads from a graph header.
std::string Preamble(const AnswerContext& c) {
    return StatusLines(c, true) + TimerLine(c.ticks) + RampLine(c.rampDown);
}

std::string HeaderNumber(const AnswerContext& c) {
    return ZeroField(RoundSat(c.params.Get("Gain")), 3);
}

// The header line of "D" and "y": its last 27 characters are the fields and the word count.
std::string TimeHeaderLine(const char* title, const AnswerContext& c, int words) {
    return std::string(title) + HeaderNumber(c) + " " + ZeroField(kVrefCalMv, 4) + " " +
           ZeroField(PeriodCode(c.params), 6) + " NWORDS=" + ZeroField(words, 4) + kCrLf;
}

// The label line of "F" and "[": the fields follow the label at 1, 5, 10 and 17; the word
// count comes last, so that the label is complete once the count has been read.
std::string SpectrumLabelLine(const AnswerContext& c, int words) {
    return std::string(kSpectrumLabel) + HeaderNumber(c) + " " + ZeroField(kVrefCalMv, 4) + " " +
           ZeroField(PeriodCode(c.params), 6) + " " + IntField(PeakIndex(c, words), 4) +
           " NWORDS=" + ZeroField(words, 4) + kCrLf;
}

// Words, the gap that puts the terminator at its place, terminator and line end. The time
// words leave a blank line before the terminator, the spectrum words a lone CR.
std::string Body(const std::vector<int>& words, int width) {
    const char* gap = width == 4 ? kCrLf : "\r";
    return WordLines(words, width) + gap + kTerminator + kCrLf;
}

}  // namespace

std::string WordLines(const std::vector<int>& words, int width) {
    std::string out;
    out.reserve(words.size() * static_cast<std::size_t>(width) + words.size() / 8 + 2);
    for (std::size_t i = 0; i < words.size(); ++i) {
        out += IntField(words[i], width);
        if ((i + 1) % 16 == 0) out += kCrLf;
    }
    return out;
}

long long PeriodCode(const Params& p) {
    return RoundSat(p.Get("SampleT") * 100);
}

std::string TimeSeriesAnswer(const AnswerContext& c, int words, Rng& rng) {
    return kCrLf + Preamble(c) + TimeHeaderLine("TIME SERIES DECIMAL ", c, words) +
           Body(TimeSeriesWords(c, words, rng), 4);
}

std::string RampAnswer(const AnswerContext& c, int words, Rng& rng) {
    return kCrLf + Preamble(c) + TimeHeaderLine("RAMP PROFILE DECIMAL ", c, words) +
           Body(RampWords(c, words, rng), 4);
}

std::string SpectrumAnswer(const AnswerContext& c, int words, Rng& rng) {
    return kCrLf + Preamble(c) + SpectrumLabelLine(c, words) +
           Body(SpectrumWords(c, words, rng), 3);
}

std::string StreamSpectrumAnswer(const AnswerContext& c, int words, Rng& rng) {
    return StreamResultFields(c) + RampLine(c.rampDown) + SpectrumLabelLine(c, words) +
           Body(SpectrumWords(c, words, rng), 3);
}

}  // namespace sondix::sim
