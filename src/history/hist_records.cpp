// The records of a complete history answer into the history arrays, with the sums of the
// statistics. A record line has fixed columns counted from the character after the LF that
// ends the line before it.
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <string>

#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "history/hist_model.h"
#include "history/hist_steps.h"
#include "response/status_lines.h"
#include "response/text_field.h"
#include "terminal/session.h"

namespace sondix::hist {

namespace {

constexpr double kTickMs = 87.381;
constexpr std::uint32_t kLossOfEcho = 0x2000;
constexpr std::int32_t kLeastAfterHeader = 63;  // an emptier answer holds no record
// Only values above this count in the statistics: smaller ones are no measurement.
constexpr float kLeastCounted = 1.0f;

// Columns of a record line (1-based within the line) and their widths.
struct Column {
    int at;
    int width;
};
constexpr Column kTime{1, 12};
constexpr Column kStatus{14, 8};
constexpr Column kValue{22, 6};
constexpr Column kLoop{28, 6};
constexpr Column kSignal{34, 4};
constexpr Column kNoise{38, 4};
constexpr Column kRelays{42, 2};
constexpr Column kTemp{46, 4};
constexpr Column kValue2{50, 11};

[[noreturn]] void TypeMismatch() {
    throw std::runtime_error("Type mismatch");
}

std::string_view Trim(std::string_view t) {
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The amplitude code as a percentage of the reference amplitude, 0..100. A reference of 0
// (never sent by a healthy sensor) gives 0 rather than a division by zero.
float AmplitudePct(double code, float vrefCal) {
    if (vrefCal == 0) return 0;
    const double pct = Gen::LogAmplitude(code) * 100 / vrefCal;
    return Gen::ToSingle(Gen::Smaller(Gen::Larger(pct, 0.0), 100.0));
}

class RecordReader {
  public:
    RecordReader(std::string_view text, std::int32_t lf) : text_(text), lf_(lf) {}
    std::string_view Field(Column c) const { return FieldAt(text_, lf_ + c.at, c.width); }
    double Value(Column c) const { return Gen::Val(Field(c)); }

  private:
    std::string_view text_;
    std::int32_t lf_;
};

void ReadRecord(Session& s, const RecordReader& r, int i) {
    HistTransferState& h = s.histRun;
    Gen::HistoryArrays& a = s.hist;
    const double t = TimeField(r.Field(kTime)) * kTickMs / 60000;
    if (i == 1) h.t0 = t;
    // A garbled counter near the double range ("12e87463" reads as the largest double) must
    // not turn into an infinite time and then into no number at all on the chart.
    if (!std::isfinite(t) || !std::isfinite(t - h.t0)) throw std::runtime_error("Overflow");
    a.HistTime[i] = t - h.t0;
    h.tmax = Gen::Larger(h.tmax, a.HistTime[i]);
    h.tmin = Gen::Smaller(h.tmin, a.HistTime[i]);

    h.kdeb = 5;
    const std::int32_t status = StatusField(r.Field(kStatus));
    a.HistStatus[i] = status;
    a.HistStatusChart[i] = CnvStatusToChart(status);
    const float value = Gen::ToSingle(r.Value(kValue));
    a.HistValue[i] = value;
    h.vmax = Gen::Larger(h.vmax, static_cast<double>(value));

    h.kdeb = 6;
    const bool lossOfEcho = (static_cast<std::uint32_t>(status) & kLossOfEcho) != 0;
    h.kdeb = 7;
    if (value > kLeastCounted && !lossOfEcho) {
        // Squares summed in double: readings near 10 m squared in single precision would err by
        // whole square millimetres and spoil the deviation.
        const double v = value;
        h.vsum += v;
        h.HistSumSq += v * v;
        ++h.HistN;
    }

    h.kdeb = 12;
    const float vref = s.res.VrefCal;
    a.HistLoopPct[i] = Gen::ToSingle((r.Value(kLoop) * 0.001 - 4) * 100 / 16);
    a.HistSignalPct[i] = AmplitudePct(r.Value(kSignal), vref);
    a.HistNoisePct[i] = AmplitudePct(r.Value(kNoise), vref);
    a.HistRelays[i] = Gen::ToSingle(Gen::Smaller(Gen::Larger(r.Value(kRelays), 0.0), 3.0));
    a.HistTempC[i] = Gen::ToSingle(r.Value(kTemp) * 0.1);
    a.HistValue2[i] = Gen::ToSingle(r.Value(kValue2));
}

bool MarkerAt(std::string_view text, std::int32_t lf) {
    return Gen::InStr(Gen::Mid(text, lf, 9), kTerminator) > 0;
}

}  // namespace

// A counter field: blanks around a plain decimal number with an optional exponent.
double TimeField(std::string_view field) {
    const std::string_view t = Trim(field);
    std::size_t k = 0;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
    std::size_t digits = 0;
    for (; k < t.size() && IsDigit(t[k]); ++k)
        ++digits;
    if (k < t.size() && t[k] == '.') {
        for (++k; k < t.size() && IsDigit(t[k]); ++k)
            ++digits;
    }
    if (digits == 0) TypeMismatch();
    if (k < t.size() && (t[k] == 'E' || t[k] == 'e')) {
        ++k;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
        const std::size_t start = k;
        while (k < t.size() && IsDigit(t[k]))
            ++k;
        if (k == start) TypeMismatch();
    }
    if (k != t.size()) TypeMismatch();
    const double v = Gen::Val(t);
    if (!std::isfinite(v)) throw std::runtime_error("Overflow");
    return v;
}

// Eight hexadecimal digits: a 32-bit word, negative when the top bit is set.
std::int32_t StatusField(std::string_view field) {
    const std::string_view t = Trim(field);
    if (t.empty()) TypeMismatch();
    std::uint32_t v = 0;
    for (const char c : t) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) TypeMismatch();
        const int d =
            IsDigit(c) ? c - '0' : (std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(v);
}

bool DecodeRecords(Session& s) {
    ParserState& p = s.parser;
    HistTransferState& h = s.histRun;
    const std::string& text = p.AnswerText;
    ParseTimer(s.res, text);
    ParseStatusListing(s.res, text);

    const auto L = static_cast<std::int32_t>(text.size());
    std::int32_t at = static_cast<std::int32_t>(Gen::InStr(text, kHeaderKey));
    at = Gen::Smaller(Gen::Larger(at, 1), L);
    auto lf = static_cast<std::int32_t>(Gen::InStr(text, "\n", at));
    bool framed = true;
    if (lf < 1) {
        HistMessage(s, "Invalid history header format");
        ResetTransfer(s);
        framed = false;
    }
    if (L <= lf + kLeastAfterHeader) {
        HistMessage(s, "History file is empty");
        ResetTransfer(s);
        framed = false;
    }
    if (!framed) return false;

    h.i = 0;
    h.tmin = 1e99;
    h.tmax = -1e99;
    h.vmax = -1e99;
    h.t0 = 0;
    h.vsum = h.HistSumSq = 0;
    h.HistN = 0;
    h.HistMean = h.HistSd = h.HistRel = 0;
    h.kdeb = 4;
    // The record area ends at the marker line, after 4096 records, or where no line follows.
    while (lf >= 1 && !MarkerAt(text, lf) && h.i < Gen::kHistMax) {
        ++h.i;
        h.kdeb = 4;
        ReadRecord(s, RecordReader(text, lf), h.i);
        lf = static_cast<std::int32_t>(Gen::InStr(text, "\n", lf + 1));
    }
    s.HistCount = static_cast<std::int16_t>(h.i);
    h.kdeb = 20;
    if (s.HistCount <= 0) {
        ResetTransfer(s);
        return false;
    }
    return true;
}

}  // namespace sondix::hist
