// Showing a received block in the terminal box, restoring the Calibrate button after a
// calibration answer, writing the block to the communications log and placing the caret.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/gen_text.h"
#include "response/dispatch_steps.h"
#include "response/parser_state.h"
#include "terminal/session.h"

namespace sondix::dispatch {
namespace {

// The box is cut back to half once it grows past this, so that it never slows down.
constexpr long long kTrimAbove = 16384;
constexpr long long kTrimKeepFrom = 8192;  // 1-based: the first 8191 characters go
// A history answer is shown until its records start.
constexpr std::int32_t kHistoryShownUpTo = 120;
constexpr char kBackspace = '\b';

long long Length(std::string_view text) {
    return static_cast<long long>(text.size());
}

}  // namespace

bool DisplaySuppressed(const Session& s) {
    if (s.CommandKey == 'H' && s.parser.AnswerLen >= kHistoryShownUpTo) return true;
    return s.parser.GraphState == kReceiving;
}

DisplayText EditForDisplay(std::string_view block, bool boxEmpty) {
    DisplayText out;
    std::string kept;
    std::string_view text = block;
    if (block.find(kBackspace) != std::string_view::npos) {
        kept.reserve(block.size());
        for (const char c : block) {
            if (c != kBackspace) {
                kept.push_back(c);
            } else if (!kept.empty()) {
                kept.pop_back();
            } else if (!boxEmpty) {
                // A backspace at the start of the block takes back what the box already shows;
                // with nothing shown there is nothing to take back.
                out.replaceLast = true;
            }
        }
        text = kept;
    }
    // Every LF dropped and every CR followed by one, the text between copied a run at a time.
    out.text.reserve(text.size() + text.size() / 8);
    std::size_t cr = text.find('\r');
    std::size_t lf = text.find('\n');
    for (std::size_t from = 0;;) {
        const std::size_t at = std::min(cr, lf);
        out.text.append(text.substr(from, at - from));
        if (at == std::string_view::npos) break;
        if (at == cr) {
            out.text += "\r\n";
            cr = text.find('\r', at + 1);
        } else {
            lf = text.find('\n', at + 1);
        }
        from = at + 1;
    }
    return out;
}

void DisplayStep(TextBox& txt, std::string& block) {
    // Only the length is needed, unless the text is to be cut: no copy of 16 KB per block.
    long long n = static_cast<long long>(txt.TextLength());
    if (n > kTrimAbove) {
        const std::string shown = Gen::Mid(txt.Text(), kTrimKeepFrom);
        txt.SetText(shown);
        n = Length(shown);
    }
    DisplayText edited = EditForDisplay(block, n == 0);
    block = std::move(edited.text);
    txt.SetSelStart(n);
    if (edited.replaceLast) {
        txt.SetSelStart(n - 1);
        txt.SetSelLength(1);
    }
    txt.SetSelText(block);
}

void CalibrateStep(Session& s, std::string_view block) {
    if (!s.CalibrationPending) return;
    if (block.find('D') == std::string_view::npos && s.CommandKey != 'R') return;
    s.cmdCalibrate.face = s.SaveColor;
    s.cmdCalibrate.enabled = true;
    s.CalibrationPending = false;
    if (s.io.host != nullptr) s.io.host->ButtonsChanged();
}

// A failed write asks until it succeeds or the user gives the log up.
void LogStep(Session& s, std::string_view block) {
    WindowHost* host = s.io.host;
    if (host == nullptr || !host->LogOpen()) return;
    for (;;) {
        const std::string error = host->WriteLog(block);
        if (error.empty()) return;
        const MsgAnswer answer =
            s.io.asker->Ask(kProgramTitle, error, MsgButtons::RetryCancel, MsgIcon::Critical);
        if (answer != MsgAnswer::Retry) {
            host->CloseLog();
            return;
        }
    }
}

void CaretStep(TextBox& txt) {
    txt.SetSelStart(static_cast<long long>(txt.TextLength()));
}

}  // namespace sondix::dispatch
