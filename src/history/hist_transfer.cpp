// Taking the history answer block by block (or a stored file at once): the header search, the
// end marker, the length limits, and the fault path that keeps the program running.
#include "history/hist_transfer.h"

#include <exception>
#include <string>

#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_text.h"
#include "history/hist_steps.h"
#include "terminal/main_window.h"
#include "terminal/session.h"

namespace sondix {

namespace hist {

void HistMessage(Session& s, const std::string& text) {
    if (s.io.asker != nullptr)
        s.io.asker->Ask("Hist error", text, MsgButtons::OK, MsgIcon::Exclamation);
}

void ResetTransfer(Session& s) {
    EndHistProgress(s);
    ParserState& p = s.parser;
    p.GraphState = kIdle;
    p.AnswerLen = 0;
    p.AnswerText.clear();
    p.HeaderText.clear();
    s.CommandKey = 0;
}

}  // namespace hist

namespace {

using hist::HistMessage;
using hist::ResetTransfer;

constexpr const char* kTooLongText =
    "Data transfer too long"
    "Click Abort(exit prog), Retry(stop cmd & rst port) or Ignore(stop cmd)";
constexpr std::int32_t kMarkerOverlap = 6;  // a marker split between blocks is still found

void StartAnswer(Session& s) {
    ParserState& p = s.parser;
    p.GraphState = kWaitHeader;
    p.AnswerLen = 0;
    p.AnswerText.clear();
    p.HeaderText.clear();
    s.histRun = HistTransferState{};
    for (int i = 1; i <= Gen::kHistMax; ++i) {
        s.hist.HistTime[i] = i;
        s.hist.HistValue[i] = 0;
        s.hist.HistSignalPct[i] = 0;
    }
    s.HistCount = 0;
    s.histRun.kdeb = 1;
}

// The sensor keeps talking without ever finishing: the user decides. The dispatcher has
// counted the block already (from 1 at the answer's start); counting it here a second time
// would stop a full history that arrives a character or two at a time, as at 9600 baud.
bool WithinChunkLimit(Session& s) {
    ParserState& p = s.parser;
    if (p.ChunkCount <= kMaxChunks) return true;
    p.GraphState = kFault;
    s.CommandKey = 0;
    AnswerFaultBox(s, s.io.asker->Ask("H-command error", kTooLongText, MsgButtons::AbortRetryIgnore,
                                      MsgIcon::None));
    return false;
}

// "VELHIST" may arrive split: each search restarts 7 characters before the end.
void SearchHeader(Session& s, bool fromFile) {
    ParserState& p = s.parser;
    HistTransferState& h = s.histRun;
    h.kdeb = 1;
    std::size_t at = 0;
    if (h.HeaderSearchFrom >= 1 && h.HeaderSearchFrom <= p.AnswerLen)
        at = Gen::InStr(p.AnswerText, hist::kHeaderKey, h.HeaderSearchFrom);
    h.HeaderSearchFrom = Gen::Larger(p.AnswerLen - 7, 1);
    if (at > 0) {
        p.GraphState = kReceiving;
        h.HeaderPos = static_cast<std::int32_t>(at);
        return;
    }
    if (p.AnswerLen >= hist::kMaxHeaderSearch) {
        HistMessage(s, "History - invalid header format");
        ResetTransfer(s);
    }
    if (fromFile) {
        HistMessage(s, "History - header not found");
        ResetTransfer(s);
    }
}

// A stored log goes on after the history answer (later traffic), so a file is searched
// anywhere after the header; a live answer only where the latest block can have completed the
// marker, so the work per block stays small and a long last block is still recognised.
void SearchEndMarker(Session& s, bool fromFile) {
    ParserState& p = s.parser;
    const HistTransferState& h = s.histRun;
    const std::int32_t from =
        fromFile ? h.HeaderPos : Gen::Larger(h.HeaderPos, h.PrevLen + 1 - kMarkerOverlap);
    if (Gen::InStr(p.AnswerText, kTerminator, Gen::Larger(from, 1)) > 0) {
        p.GraphState = kComplete;
        return;
    }
    if (fromFile) {
        HistMessage(s, "History - end marker missing");
        ResetTransfer(s);
    }
}

// Steps of one call; false while the answer is not complete.
bool TakeBlock(Session& s, const std::string& text, bool fromFile) {
    ParserState& p = s.parser;
    s.histRun.kdeb = 0;
    if (p.GraphState == kIdle) StartAnswer(s);
    if (!fromFile && !WithinChunkLimit(s)) return false;
    if (p.AnswerLen >= hist::kMaxAnswerLen) {
        HistMessage(s, "History - invalid data transfer length");
        ResetTransfer(s);
        return false;
    }
    s.histRun.PrevLen = p.AnswerLen;
    p.AnswerText += text;
    p.AnswerLen += static_cast<std::int32_t>(text.size());
    if (p.GraphState == kWaitHeader) SearchHeader(s, fromFile);
    if (p.GraphState == kReceiving) SearchEndMarker(s, fromFile);
    if (!fromFile && p.GraphState != kIdle) hist::ShowProgress(s);
    return p.GraphState == kComplete;
}

// A garbled field must not end the program, even from a file the user picked: the sensor is
// told to stop, the transfer starts afresh and the fault is shown with where it happened.
void ReportFault(Session& s, const std::string& description) {
    const HistTransferState& h = s.histRun;
    const std::string text = description + " i=" + Gen::CStr(h.i) + " kdeb=" + Gen::CStr(h.kdeb) +
                             " vsum=" + Gen::CStr(h.vsum);
    ResetTransfer(s);
    CommPort* port = s.io.port;
    if (port != nullptr && port->PortOpen()) {
        port->Output("R");
        s.CommandKey = KeyCode('R');
    }
    if (s.io.asker != nullptr) s.io.asker->Ask(kProgramTitle, text, MsgButtons::OK, MsgIcon::None);
}

}  // namespace

void HistTransfer(Session& s, std::string& text, bool fromFile) {
    try {
        if (!TakeBlock(s, text, fromFile)) return;
        s.histRun.kdeb = 3;
        if (fromFile) text.clear();
        if (!hist::DecodeRecords(s)) return;
        if (!fromFile) hist::ShowReceived(s);
        hist::ChartHistory(s);
        ResetTransfer(s);
    } catch (const std::exception& e) {
        ReportFault(s, e.what());
    } catch (...) {
        ReportFault(s, "Unknown error");
    }
}

}  // namespace sondix
