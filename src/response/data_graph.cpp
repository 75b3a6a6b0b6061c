// The decode step of the data graphs: words into chart points with their physical units, the
// axis label spacing and the chart's texts.
#include "response/data_graph.h"

#include <string>
#include <string_view>

#include "common/gen_datetime.h"
#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "response/data_graph_rules.h"
#include "response/graph_scale.h"
#include "response/status_lines.h"
#include "response/text_field.h"
#include "terminal/main_window.h"
#include "terminal/session.h"

namespace sondix {
namespace {

constexpr double kRampPerCount = -0.01;

// What the header told about the answer, before any point is read.
void ReadHeaderTexts(Session& s, char key) {
    const std::string& h = s.parser.HeaderText;
    if (key == 'D' || key == 'F') {
        s.res.RampText = FindRampText(h);
        ParseTimer(s.res, h);
        ParseStatusListing(s.res, h);
    } else if (key == '[') {
        SpectrumResultStep(s, h);
    }
}

struct Scale {
    double xStep = 0;
    double yPerCount = 0;
};

Scale ScaleOf(const Session& s, char key) {
    const double volts = s.graphHdr.VoltsPerCount;
    if (key == 'F' || key == '[') return {s.graphHdr.FreqStep, 2 * volts};
    if (key == 'y') return {s.res.SamplePeriodMs, kRampPerCount};
    return {s.res.SamplePeriodMs, volts};
}

struct YRange {
    float min = 1e30f;
    float max = -1e30f;
};

// Reads words 1..n into the chart and returns the range of their y values.
YRange ChartWords(Session& s, const GraphWordFormat& fmt, const Scale& sc, int n) {
    const std::string_view data = s.parser.AnswerText;
    YRange range;
    for (int i = 1; i <= n; ++i) {
        const double count = Gen::WholeValue(ValueAt(data, WordPosition(i, fmt.width), fmt.width));
        const float x = Gen::ToSingle((i - 1) * sc.xStep);
        const float y = Gen::ToSingle(count * sc.yPerCount);
        s.graph.SetData(i, x, y);
        range.min = Gen::Smaller(range.min, y);
        range.max = Gen::Larger(range.max, y);
    }
    return range;
}

// The repeating spectrum shows only the part around its measured frequency.
int SpectrumPoints(Session& s, char key) {
    const int nwords = s.parser.NWords;
    if (key != '[') return nwords;
    s.graphHdr.SpectZoom =
        static_cast<std::int16_t>(SpectZoomFor(nwords, s.graphHdr.FreqStep, s.res.ResultFreq));
    const int n = Gen::ToInt32(static_cast<double>(nwords) / s.graphHdr.SpectZoom);
    s.graph.SetNPoints(n);
    return n;
}

std::string TitleSuffix(Session& s) {
    std::string t;
    if (!s.GraphHeaderStr.empty()) t += " " + s.GraphHeaderStr;
    const Gen::DateTime now = s.io.clock != nullptr ? s.io.clock->Now() : Gen::DateTime{};
    t += "  " + Gen::FormatGeneral(now);
    if (s.res.UnitTimeDays > 0) t += "  T=" + UnitTimeText(s.res.UnitTimeDays) + "d";
    return t;
}

// "D" names the sweep direction; "F" adds the results from its status listing.
std::string FootnoteSuffix(const Session& s, char key) {
    const ResultFields& r = s.res;
    if (key == 'D') return " " + r.RampText;
    if (key != 'F') return {};
    const std::string lead = r.ModeVelocity ? ", Vel=" + Gen::StrSingle(r.ResultVel) + "mm/s, F="
                                            : ", Dist=" + Gen::StrSingle(r.ResultDist) + "mm, F=";
    return lead + Gen::StrSingle(r.ResultFreq) + "Hz, S=" + Gen::Str(r.ResultSignal) + " " +
           r.RampText;
}

void WriteTexts(Session& s, char key) {
    GraphModel& g = s.graph;
    if (key == 'y') {
        g.title = "Ramp Profile";
        g.caption = "Frequency Sweep Ramp Profile";
        if (!g.footnote.empty()) g.footnote[0] = 'y';
    }
    g.title += TitleSuffix(s);
    g.caption += " " + Gen::Right(kProgramTitle, 5);
    if (key == '[') {
        g.footnote = SpectrumStreamFootnote(s);
        return;
    }
    g.footnote += FootnoteSuffix(s, key);
}

}  // namespace

void EnsureGraphWindow(Session& s) {
    if (!s.D_GraphLoaded) LoadGraphWindow(s);
}

void GraphDecodeStep(Session& s, char key) {
    const GraphWordFormat fmt = WordFormatOf(key);
    ReadHeaderTexts(s, key);
    if (fmt.spectrum) {
        // Never a division by a zero period: no chart point may become infinite or NaN.
        const double periodMs = s.res.SamplePeriodMs > 0 ? s.res.SamplePeriodMs : 0.001;
        s.graphHdr.SampleRate = 1000 / periodMs;
        s.graphHdr.FreqStep = s.graphHdr.SampleRate / (2.0 * s.parser.NWords);
    }
    const int n = SpectrumPoints(s, key);
    const Scale sc = ScaleOf(s, key);
    const YRange range = ChartWords(s, fmt, sc, n);
    s.graph.XAxisScaleFact = Gen::ToSingle(sc.xStep);

    const double xl = (n - 1) * sc.xStep;
    const float step = fmt.spectrum ? FreqLabelStep(xl) : TimeLabelStep(xl);
    if (key == 'y' && n > 0) {
        s.graph.yAxis = RampYAxis(range.min, range.max);
        s.graph.yAxisSetByTransfer = true;
    }
    if (fmt.spectrum) {
        RectifyScaleX_Freq(s.graph, static_cast<std::int16_t>(n), Gen::ToSingle(xl), step);
    } else {
        RectifyScaleX(s.graph, s.parser.NWords, Gen::ToSingle(xl), step);
    }
    WriteTexts(s, key);
    s.graph.kind = key;
    s.graph.labelStep = step;
    if (s.io.host != nullptr) s.io.host->ShowGraph();
}

}  // namespace sondix
