// The results that the repeating spectrum carries in each header, their running statistics and
// the footnote that shows both under the chart.
#include <cmath>

#include "common/gen_format.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "response/status_lines.h"
#include "response/text_field.h"
#include "terminal/session.h"

namespace sondix {
namespace {

long long Find(std::string_view h, std::string_view key) {
    return static_cast<long long>(Gen::InStr(h, key));
}

// Each present key stores the value of its field; the field starts `offset` after the key.
float ReadIf(std::string_view h, std::string_view key, long long offset, long long len,
             float absent) {
    const long long p = Find(h, key);
    if (p == 0) return absent;
    return Gen::ToSingle(ValueAt(h, p + offset, len));
}

// A velocimeter reports "Vel =", a distance sensor "Dist=" with a secondary velocity.
float ReadVelocityResults(ResultFields& r, std::string_view h) {
    r.ResultVel = ReadIf(h, "Vel =", 5, 7, 0);
    r.ResultFreq = ReadIf(h, "f =", 5, 8, 0);
    return r.ResultVel;
}

float ReadDistanceResults(ResultFields& r, std::string_view h) {
    r.ResultDist = ReadIf(h, "Dist=", 5, 6, 0);
    r.ResultVel = ReadIf(h, "Vel=", 5, 6, 0);
    r.ResultFreq = ReadIf(h, "Favr=", 5, 8, 0);
    r.ResultFdif = ReadIf(h, "Fdif=", 5, 9, 0);
    return r.ResultDist;
}

// A spectrum without a result (v = 0) does not count; it shows zero statistics.
void Accumulate(SpectrumStats& st, float v) {
    st.StatMean = 0;
    st.StatSd = 0;
    st.StatRel = 0;
    if (v == 0) return;
    st.StatSum += v;
    // The square goes into the double sum unrounded: rounded to single precision it errs by up
    // to 4 mm^2 at 10 m, more than the whole spread of a steady reading, and the deviation
    // shown would be noise.
    st.StatSumSq += static_cast<double>(v) * v;
    st.StatCount += 1;
    st.StatMean = Gen::ToSingle(st.StatSum / st.StatCount);
    st.Variance = st.StatSumSq - st.StatSum * st.StatSum / st.StatCount;
    // Rounding can make the variance of equal values slightly negative.
    if (st.Variance >= 0 && st.StatCount > 2) {
        st.StatSd = Gen::ToSingle(std::sqrt(st.Variance / (st.StatCount - 1)));
    }
    if (st.StatMean > 0.1) st.StatRel = st.StatSd / st.StatMean;
}

}  // namespace

void SpectrumResultStep(Session& s, std::string_view h) {
    ResultFields& r = s.res;
    r.RampText = FindRampText(h);
    r.ResultVel = 0;
    r.ResultDist = 0;
    r.ResultSignal = 0;
    r.ResultFreq = 0;
    r.ResultFdif = 0;
    r.ModeVelocity = Find(h, "Dist=") == 0;
    const float v = r.ModeVelocity ? ReadVelocityResults(r, h) : ReadDistanceResults(r, h);
    const long long p = Find(h, "S=");
    if (p != 0) r.ResultSignal = WholeAt(h, p + 2, 3);
    r.ResultValue = v;
    Accumulate(s.stats, v);
}

std::string SpectrumStreamFootnote(const Session& s) {
    const ResultFields& r = s.res;
    const SpectrumStats& st = s.stats;
    const std::string mean = Gen::Format(st.StatMean, "0.0");
    const std::string sd = Gen::Format(st.StatSd, "0.00");
    const std::string rel = Gen::Format(st.StatRel, "0.000%");
    const std::string count = Gen::Format(st.StatCount, "#0");
    const std::string signal = Gen::Str(r.ResultSignal);
    if (r.ModeVelocity) {
        return "V=" + Gen::StrSingle(r.ResultVel) + "mm/s, F=" + Gen::StrSingle(r.ResultFreq) +
               "Hz, S=" + signal + ", Vavr=" + mean + "+/-" + sd + "mm/s(" + rel + " N=" + count +
               ") " + r.RampText;
    }
    return "X=" + Gen::StrSingle(r.ResultDist) + "mm, F=" + Gen::StrSingle(r.ResultFreq) +
           "Hz, S=" + signal + ", Xavr=" + mean + "+/-" + sd + "mm(" + rel + ")" +
           "V=" + Gen::StrSingle(r.ResultVel) + "mm/s, F=" + Gen::StrSingle(r.ResultFdif) + "Hz " +
           "N=" + count + " " + r.RampText;
}

}  // namespace sondix
