// A full history is up to 256,000 characters, minutes at 9600 baud, and the terminal shows
// none of it: the status panel counts the records and characters as they arrive and, when the
// header line announces the record count ("N="), the time left at the line's speed.
#include <string>

#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "history/hist_steps.h"
#include "history/hist_transfer.h"
#include "response/text_field.h"
#include "terminal/session.h"

namespace sondix::hist {

namespace {

constexpr std::int32_t kTypicalLine = 62;  // 60 columns, CR, LF
constexpr std::int32_t kMarkerLine = 9;

// Bits on the line per character from "9600,n,8,1": start, data, parity, stop bits.
double CharsPerSecond(const std::string& settings) {
    const double baud = Gen::Val(settings);
    const std::size_t c1 = settings.find(',');
    if (baud <= 0 || c1 == std::string::npos || c1 + 1 >= settings.size()) return 0;
    const char parity = settings[c1 + 1];
    const std::size_t c2 = settings.find(',', c1 + 1);
    const double data = c2 == std::string::npos ? 8 : Gen::Val(settings.substr(c2 + 1));
    const std::size_t c3 = c2 == std::string::npos ? c2 : settings.find(',', c2 + 1);
    const double stop = c3 == std::string::npos ? 1 : Gen::Val(settings.substr(c3 + 1));
    const double bits = 1 + data + (parity == 'n' || parity == 'N' ? 0 : 1) + stop;
    return baud / bits;
}

// The header line's "N=" (the simulator's, and sensors that send one); 0 without.
std::int32_t AnnouncedRecords(std::string_view text, std::int32_t from, std::int32_t lf) {
    const std::string_view line = FieldAt(text, from, lf - from);
    const std::size_t at = line.find(" N=");
    if (at == std::string_view::npos) return 0;
    return Gen::ToInt32(Gen::Val(line.substr(at + 3)));
}

void CountLines(Session& s) {
    const std::string& text = s.parser.AnswerText;
    HistTransferState& h = s.histRun;
    if (h.HeaderLineEnd == 0) {
        h.HeaderLineEnd = static_cast<std::int32_t>(Gen::InStr(text, "\n", h.HeaderPos));
        if (h.HeaderLineEnd == 0) return;
        h.RecordsAnnounced = AnnouncedRecords(text, h.HeaderPos, h.HeaderLineEnd);
        h.CountedTo = h.LastLineEnd = h.HeaderLineEnd;
    }
    const auto len = static_cast<std::int32_t>(text.size());
    for (std::int32_t k = h.CountedTo; k < len; ++k) {
        if (text[static_cast<std::size_t>(k)] != '\n') continue;
        if (h.RecordsSeen == 0) h.FirstLineLen = k + 1 - h.LastLineEnd;
        h.LastLineEnd = k + 1;
        ++h.RecordsSeen;
    }
    h.CountedTo = len;
}

std::string TimeLeft(const Session& s) {
    const HistTransferState& h = s.histRun;
    if (h.RecordsAnnounced <= 0 || s.io.port == nullptr) return {};
    const double cps = CharsPerSecond(s.io.port->Settings());
    if (cps <= 0) return {};
    const std::int32_t line = h.FirstLineLen > 0 ? h.FirstLineLen : kTypicalLine;
    const std::int32_t partial = s.parser.AnswerLen - h.LastLineEnd;
    const double chars = Gen::Larger(
        static_cast<double>(h.RecordsAnnounced - h.RecordsSeen) * line - partial + kMarkerLine,
        0.0);
    return ", " + Gen::FormatHMS(Gen::ToInt64(chars / cps)) + " left";
}

}  // namespace

void ShowProgress(Session& s) {
    HistTransferState& h = s.histRun;
    if (s.io.host == nullptr) return;
    if (h.HeaderPos > 0) CountLines(s);
    if (h.ShownRecords == h.RecordsSeen && h.RecordsSeen > 0) return;
    h.ShownRecords = h.RecordsSeen;
    std::string text = "Status: History " + Gen::CStr(h.RecordsSeen);
    if (h.RecordsAnnounced > 0) text += " of " + Gen::CStr(h.RecordsAnnounced);
    text += " records, " + Gen::CStr(s.parser.AnswerLen) + " characters" + TimeLeft(s);
    s.io.host->SetStatusPanel(text);
}

void ShowReceived(Session& s) {
    if (s.io.host == nullptr) return;
    s.io.host->SetStatusPanel("Status: History " + Gen::CStr(s.HistCount) + " records, " +
                              Gen::CStr(s.parser.AnswerLen) + " characters received");
    s.io.host->StartStatusResetTimer();
}

}  // namespace sondix::hist

namespace sondix {

void EndHistProgress(Session& s) {
    HistTransferState& h = s.histRun;
    if (h.ShownRecords < 0) return;
    h.ShownRecords = -1;
    if (s.io.host != nullptr) s.io.host->StartStatusResetTimer();
}

}  // namespace sondix
