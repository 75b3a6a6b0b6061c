// The start of an answer with its block count, the repeating streams' readers ("{" results
// lines) and the stop commands "]" and "}".
#include <string>
#include <string_view>

#include "common/gen_text.h"
#include "response/dispatch_steps.h"
#include "response/parser_state.h"
#include "response/status_lines.h"
#include "terminal/main_window.h"
#include "terminal/session.h"

namespace sondix::dispatch {
namespace {

constexpr const char* kTooLongText =
    "Data transfer too long"
    "Click Abort(exit prog), Retry(stop cmd & rst port) or Ignore(stop cmd)";

void ClearAnswer(ParserState& p) {
    p.AnswerLen = 0;
    p.AnswerText.clear();
    p.HeaderText.clear();
    p.TrailerText.clear();
    p.NextAnswer.clear();
}

void StartAnswer(Session& s, std::int16_t& state, char key) {
    state = kWaitHeader;
    ClearAnswer(s.parser);
    s.parser.ChunkCount = 0;
    if (key == '[' || key == '{') SetCalibrateEnabled(s, false);
    if (key == '[') s.stats = SpectrumStats{};
}

// The sensor keeps talking without ever finishing the answer: the user decides whether the
// program ends, the port is reset or the answer is merely dropped.
void TooManyBlocks(Session& s, std::int16_t& state) {
    state = kFault;
    s.CommandKey = 0;
    // Retry closes and opens again; a port already closed (a lost device) is simply reopened.
    AnswerFaultBox(s, s.io.asker->Ask("D-command fault", kTooLongText, MsgButtons::AbortRetryIgnore,
                                      MsgIcon::None));
}

}  // namespace

void SetCalibrateEnabled(Session& s, bool enabled) {
    s.cmdCalibrate.enabled = enabled;
    if (s.io.host != nullptr) s.io.host->ButtonsChanged();
}

void ReturnToIdle(ParserState& p) {
    p.GraphState = kIdle;
    p.AutoSpect_status = kIdle;
    p.AutoResults_status = kIdle;
    ClearAnswer(p);
    p.ChunkCount = 0;
}

bool CountBlock(Session& s, std::int16_t& state, char key) {
    if (state == kIdle) StartAnswer(s, state, key);
    ++s.parser.ChunkCount;
    if (s.parser.ChunkCount <= kMaxChunks) return true;
    TooManyBlocks(s, state);
    return false;
}

std::string_view SkipLeadingLineEnds(std::string_view text) {
    const std::size_t first = text.find_first_not_of("\r\n");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

void StopSpectrumStream(Session& s) {
    s.parser.AutoSpect_status = kIdle;
    ClearAnswer(s.parser);
    s.stats = SpectrumStats{};
    SetCalibrateEnabled(s, true);
}

void StopResultsStream(Session& s) {
    s.parser.AutoResults_status = kIdle;
    ClearAnswer(s.parser);
    SetCalibrateEnabled(s, true);
}

// Every complete line of the collected text is decoded, in order; what follows a line's CR LF
// is the start of the next line, so the result does not depend on how the line splits the
// bytes into reads. A line end left over from the previous line is skipped, or it would stand
// at the start of every later text and no line would ever be taken.
void ReadResultsStream(Session& s, std::string_view block) {
    ParserState& p = s.parser;
    std::int16_t& state = p.AutoResults_status;
    if (!CountBlock(s, state, '{')) return;
    if (state != kWaitHeader) return;
    p.AnswerText.append(block);
    p.ChunkTaken = true;
    for (;;) {
        p.AnswerText = std::string(SkipLeadingLineEnds(p.AnswerText));
        const auto lineEnd = static_cast<long long>(Gen::InStr(p.AnswerText, "\r\n"));
        if (lineEnd - 1 < 1) return;
        const std::string line = Gen::Left(p.AnswerText, lineEnd - 1);
        std::string rest = Gen::Mid(p.AnswerText, lineEnd + 2);
        state = kComplete;
        if (!s.ResultDisp_Loaded) {
            state = kIdle;
            ClearAnswer(p);
            p.ChunkCount = 0;
            return;
        }
        ResultsLineStep(s, line);
        state = kWaitHeader;
        ClearAnswer(p);
        p.AnswerText = std::move(rest);
        // Each line is an answer of its own: the block limit applies per line, not per stream.
        p.ChunkCount = 0;
    }
}

}  // namespace sondix::dispatch
