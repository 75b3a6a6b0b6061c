// The framing of the data graphs "D", "F", "y" and the repeating spectrum "[": a header that
// announces the word count, the words, the terminator at a position fixed by the count, and a
// line end. The words themselves are the decoders' business.
#include <string>
#include <string_view>
#include <utility>

#include "common/gen_number.h"
#include "common/gen_text.h"
#include "response/data_graph.h"
#include "response/dispatch_steps.h"
#include "response/graph_progress.h"
#include "response/parser_state.h"
#include "response/text_field.h"
#include "terminal/session.h"

namespace sondix::dispatch {
namespace {

constexpr std::string_view kWordCountKey = "NWORDS=";
constexpr std::string_view kSpectrumLabel = "SPECTRUM MODAMP DECIMAL ";
constexpr long long kLabelLength = 24;
constexpr int kMaxChartedWords = 2048;

bool IsTimeGraph(char key) {
    return key == 'D' || key == 'y';
}

void GraphError(Session& s, std::int16_t& state, const char* text) {
    state = kFault;
    s.CommandKey = 0;
    s.io.asker->Ask("Graph error", text, MsgButtons::OK, MsgIcon::Exclamation);
}

long long Length(std::string_view text) {
    return static_cast<long long>(text.size());
}

// State 1: the answer is collected until its header names a valid word count and the header
// line has arrived; then the header step cuts the header off.
void WaitForHeader(Session& s, char key, std::string_view block, std::int16_t& state) {
    ParserState& p = s.parser;
    p.AnswerText.append(block);
    p.ChunkTaken = true;
    const auto at = static_cast<long long>(Gen::InStr(p.AnswerText, kWordCountKey));
    if (at < 1 || at + 12 > Length(p.AnswerText)) return;
    p.NWords = WholeAt(p.AnswerText, at + 7, 4);
    if (!ValidWordCount(p.NWords)) {
        GraphError(s, state, "Data graph - invalid NWORDS value");
        return;
    }
    // A block that ends inside the header line would otherwise put the rest of that line
    // among the words and shift the terminator.
    if (!HeaderLineComplete(p.AnswerText, key)) return;
    state = kReceiving;
    p.HeaderEnd = GraphHeaderStep(s, key);
    p.ProgressShown = -1;
}

// State 2: the words are collected until the terminator shows up; it must stand exactly where
// the word count puts it.
void ReceiveWords(Session& s, char key, std::string_view block, std::int16_t& state) {
    ParserState& p = s.parser;
    if (!p.ChunkTaken) {
        p.AnswerText.append(block);
        p.AnswerLen += static_cast<std::int32_t>(block.size());
        p.ChunkTaken = true;
    }
    const long long from = TerminatorSearchStart(p.AnswerLen, Length(block));
    const auto q = static_cast<long long>(Gen::InStr(p.AnswerText, kTerminator, from));
    ShowGraphProgress(s, key);
    if (q == 0) return;
    // Done or abandoned: the status panel clears itself after a while.
    if (s.io.host != nullptr) s.io.host->StartStatusResetTimer();
    if (q != ExpectedTerminatorPos(p.NWords, key)) {
        GraphError(s, state, "Invalid transfer length: not equal NWORDS");
    } else {
        state = kComplete;
    }
    p.TrailerText = TrailerAfterHeader(p.AnswerText, p.HeaderEnd);
    if (key == '[') p.NextAnswer = Gen::Mid(p.AnswerText, q + 7);
    p.AnswerText = Gen::Left(p.AnswerText, q);
    p.AnswerLen = static_cast<std::int32_t>(q);
}

// After a finished or rejected answer. The spectrum stream waits for its next spectrum and
// counts that one's blocks afresh, so a stream can run for hours.
void EndOfTransfer(Session& s, char key, std::int16_t& state) {
    ParserState& p = s.parser;
    state = key == '[' ? kWaitHeader : kIdle;
    p.AnswerLen = 0;
    p.AnswerText.clear();
    p.TrailerText.clear();
    if (key != 'D') p.HeaderText.clear();
    if (key == '[') p.ChunkCount = 0;
}

// State 3: the words are complete once a line end follows; then they are checked and charted.
// True when the answer has ended.
bool FinishAnswer(Session& s, char key, std::string_view block, std::int16_t& state) {
    ParserState& p = s.parser;
    if (!p.ChunkTaken) {
        p.TrailerText.append(block);
        if (key == '[') p.NextAnswer.append(block);
        p.ChunkTaken = true;
    }
    if (p.TrailerText.find('\n') == std::string::npos) return false;
    EnsureGraphWindow(s);
    const bool lengthOk =
        p.AnswerLen == ExpectedTerminatorPos(p.NWords, key) && p.NWords <= kMaxChartedWords;
    if (lengthOk) {
        GraphDecodeStep(s, key);
    } else if (key != '[') {
        GraphError(s, state, "Invalid data length");
    }
    EndOfTransfer(s, key, state);
    return true;
}

// What follows the line end after a spectrum's terminator starts the next spectrum; while that
// line end has not arrived, the rest of the terminator line leads the next answer harmlessly.
std::string NextSpectrumStart(const std::string& afterTerminator) {
    const std::size_t lf = afterTerminator.find('\n');
    return lf == std::string::npos ? afterTerminator : afterTerminator.substr(lf + 1);
}

}  // namespace

bool ValidWordCount(int nwords) {
    return nwords == 512 || nwords == 1024 || nwords == 2048 || nwords == 4096;
}

long long ExpectedTerminatorPos(int nwords, char key) {
    const long long width = IsTimeGraph(key) ? 4 : 3;
    const long long offset = IsTimeGraph(key) ? 3 : 2;
    return 2 * static_cast<long long>(Gen::Int(nwords / 16.0)) + nwords * width + offset;
}

long long TerminatorSearchStart(long long answerLen, long long blockLen) {
    const long long from = answerLen - blockLen - 8;
    return from < 1 ? 1 : from;
}

std::string TrailerAfterHeader(std::string_view data, long long h) {
    if (h + 9 >= Length(data)) return {};
    return Gen::Mid(data, h + 10);
}

bool HeaderLineComplete(std::string_view text, char key) {
    const auto nwords = static_cast<long long>(Gen::InStr(text, kWordCountKey));
    if (nwords < 1) return false;
    if (IsTimeGraph(key)) {
        // The header line ends at the first CR after "NWORDS="; its LF follows.
        const auto cr = static_cast<long long>(Gen::InStr(text, "\r", nwords));
        return cr > 0 && cr < Length(text);
    }
    // The spectrum's fields follow its label (or stand 24 characters after "NWORDS=") up to
    // the first CR; the data starts after that CR and the character after it.
    auto start = static_cast<long long>(Gen::InStr(text, kSpectrumLabel));
    if (start == 0) start = nwords;
    const long long fields = start + kLabelLength;
    const auto cr = static_cast<long long>(Gen::InStr(text, "\r", fields));
    return cr > 0 && cr < Length(text);
}

void ReadDataGraph(Session& s, char key, std::string_view block) {
    std::int16_t& state = key == '[' ? s.parser.AutoSpect_status : s.parser.GraphState;
    std::string rest(block);
    for (;;) {
        if (!CountBlock(s, state, key)) return;
        if (state == kWaitHeader) WaitForHeader(s, key, rest, state);
        if (state == kReceiving) ReceiveWords(s, key, rest, state);
        const bool ended = state == kComplete && FinishAnswer(s, key, rest, state);
        // A read may hold the end of one spectrum and the start of the next: every complete
        // spectrum in it is charted, in order.
        if (!ended || key != '[' || s.parser.NextAnswer.empty()) return;
        rest = NextSpectrumStart(std::exchange(s.parser.NextAnswer, {}));
        s.parser.ChunkTaken = false;
        if (rest.empty()) return;
    }
}

}  // namespace sondix::dispatch
