// The header step of the data graphs: the header's fields are read and the answer text is cut
// down to its data words.
#include <string>
#include <string_view>
#include <utility>

#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "response/data_graph.h"
#include "response/text_field.h"
#include "terminal/session.h"

namespace sondix {
namespace {

constexpr std::string_view kSpectrumLabel = "SPECTRUM MODAMP DECIMAL ";
constexpr long long kLabelLength = 24;

// The data words start after the CR at `cr` and the LF that follows it; an answer that ends
// right after its header has no data yet, and none is lost when it ends one character later.
std::string DataAfter(std::string_view text, long long cr) {
    if (cr < 1) return {};
    return Gen::Mid(text, cr + 2);
}

void StoreData(ParserState& p, std::string data) {
    p.AnswerText = std::move(data);
    p.AnswerLen = static_cast<std::int32_t>(p.AnswerText.size());
}

// "D" and "y": the fields stand at fixed distances before the CR that ends the header line.
long long TimeHeader(Session& s, char key, const std::string& text) {
    const auto nwords = static_cast<long long>(Gen::InStr(text, "NWORDS="));
    const auto h = static_cast<long long>(Gen::InStr(text, "\r", Gen::Larger(nwords, 1LL)));
    s.graph.SetNPoints(s.parser.NWords);
    s.parser.HeaderText = Gen::Left(text, h);
    const float periodUs = Gen::ToSingle(ValueAt(text, h - 18, 6) * 0.01);
    const float vref = Gen::ToSingle(ValueAt(text, h - 23, 4));
    if (key == 'y') {
        // A garbled period must not leave 0 behind: the next spectrum divides by it. The other
        // readers of the period fall back to 1 us the same way.
        s.res.SamplePeriodUs = periodUs > 0 ? periodUs : 1.0f;
        s.res.SamplePeriodMs = s.res.SamplePeriodUs * 0.001;
        s.res.VrefCal = vref;
        s.graphHdr.HeaderNumA = 1;
    } else {
        // The sample period in ms comes from the status listing inside the header.
        s.graphHdr.HeaderNumA = WholeAt(text, h - 27, 3);
        s.res.VrefCal = vref;
        s.res.SamplePeriodUs = periodUs;
    }
    StoreData(s.parser, DataAfter(text, h));
    return h;
}

// "F" and "[": the fields follow the spectrum label; without the label they stand 24
// characters after "NWORDS=".
long long SpectrumHeader(Session& s, char key, const std::string& text) {
    auto start = static_cast<long long>(Gen::InStr(text, kSpectrumLabel));
    if (start == 0) start = static_cast<long long>(Gen::InStr(text, "NWORDS="));
    if (key == 'F') s.graph.SetNPoints(s.parser.NWords);
    s.parser.HeaderText = Gen::Left(text, start);
    const std::string r = Gen::Mid(text, start + kLabelLength);
    if (r.empty() || start == kLabelLength) {
        StoreData(s.parser, {});
        return 0;
    }
    s.graphHdr.HeaderNumA = WholeAt(r, 1, 3);
    s.res.VrefCal = Gen::ToSingle(ValueAt(r, 5, 4) * 0.001);
    s.res.SamplePeriodUs = Gen::ToSingle(ValueAt(r, 10, 6) * 0.01);
    if (s.res.SamplePeriodUs <= 0) s.res.SamplePeriodUs = 1.0f;
    s.res.SamplePeriodMs = s.res.SamplePeriodUs * 0.001;
    s.graphHdr.HeaderNumC = WholeAt(r, 17, 4);
    const auto h = static_cast<long long>(Gen::InStr(r, "\r"));
    StoreData(s.parser, DataAfter(r, h));
    return h;
}

}  // namespace

long long GraphHeaderStep(Session& s, char key) {
    const std::string text = std::move(s.parser.AnswerText);
    if (key == 'F' || key == '[') return SpectrumHeader(s, key, text);
    return TimeHeader(s, key, text);
}

}  // namespace sondix
