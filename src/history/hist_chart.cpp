// A decoded history into the history window: the time axis for its span, the points in time
// order scaled to the chart, the footnote with the statistics, the title and the caption.
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <string>

#include "common/gen_format.h"
#include "common/gen_math.h"
#include "common/gen_number.h"
#include "common/gen_text.h"
#include "history/hist_model.h"
#include "history/hist_steps.h"
#include "response/data_graph_rules.h"
#include "terminal/session.h"

namespace sondix::hist {

namespace {

constexpr double kMinutesPerDay = 1440;

// One row of the time-axis table: the first row whose limit exceeds the span (minutes) holds.
struct TimeAxisRow {
    double below;
    double timeUnit;    // minutes per axis unit
    double roundUnits;  // the span is rounded up to this many time units
    double divUnits;    // one division is this many time units
    double yScale;
    const char* xTitle;
    const char* ySuffix;
};

constexpr const char* kTenth = " in 10% of Ymax units";
constexpr const char* kPercent = " in % of Ymax units";
constexpr double kMonth = 525949.2 / 12;

constexpr std::array<TimeAxisRow, 8> kTimeAxis{{
    {10, 1.0 / 60, 30, 30, 10, "Time (seconds)", " in 10% of Ymax"},
    {50, 1, 2, 2, 10, "Time (minutes)", kTenth},
    {360, 1, 10, 10, 100, "Time (minutes)", kPercent},
    {2880, 60, 2, 2, 10, "Time (hours)", kTenth},
    {17280, 60, 12, 12, 100, "Time (hours)", kPercent},
    {46080, 1440, 1, 2, 10, "Time (days)", kTenth},
    {263520, 10080, 1, 1, 10, "Time (weeks)", kTenth},
    {1e300, kMonth, 1, 1, 10, "Time (months)", kTenth},
}};

const TimeAxisRow& RowFor(double span) {
    for (const TimeAxisRow& row : kTimeAxis) {
        if (span < row.below) return row;
    }
    return kTimeAxis.back();
}

void ScaleAxes(Session& s, double span) {
    HistTransferState& h = s.histRun;
    const TimeAxisRow& row = RowFor(span);
    h.TimeUnit = row.timeUnit;
    span = Gen::NextMultipleAbove(span, row.roundUnits * row.timeUnit);
    h.YScale = row.yScale;
    HistModel& m = s.histChart;
    m.SetScaleX(0, Gen::ToSingle(span / h.TimeUnit),
                Gen::ToInt16(span / (row.divUnits * h.TimeUnit)), row.xTitle);
    const bool velocity = s.res.ModeVelocity;
    if (!m.SetScaleY(0, Gen::ToSingle(h.YScale), 10, s.res.ModeText + row.ySuffix, velocity) &&
        s.io.asker != nullptr) {
        s.io.asker->Ask(kProgramTitle, "Software error: incorrect yscale", MsgButtons::OK,
                        MsgIcon::Exclamation);
    }
}

// Time order; records with equal times keep their order.
void OrderByTime(Session& s) {
    HistTransferState& h = s.histRun;
    h.HistOrder.resize(static_cast<std::size_t>(s.HistCount));
    std::iota(h.HistOrder.begin(), h.HistOrder.end(), 1);
    const auto& time = s.hist.HistTime;
    std::stable_sort(h.HistOrder.begin(), h.HistOrder.end(),
                     [&](std::int32_t a, std::int32_t b) { return time[a] < time[b]; });
}

void SetPoints(Session& s, double x0) {
    const HistTransferState& h = s.histRun;
    const Gen::HistoryArrays& a = s.hist;
    // An answer whose values are all 0 is drawn at 0 rather than divided by zero.
    const double vmax = h.Vmax100 != 0 ? h.Vmax100 : 1.0;
    const double pct = h.YScale / 100;
    HistModel& m = s.histChart;
    m.SetNPoints(s.HistCount);
    for (int k = 1; k <= s.HistCount; ++k) {
        const int j = h.HistOrder[static_cast<std::size_t>(k - 1)];
        m.SetData(
            k,
            {Gen::ToSingle((a.HistTime[j] - x0) / h.TimeUnit),
             Gen::ToSingle(a.HistValue[j] * h.YScale / vmax), Gen::ToSingle(a.HistLoopPct[j] * pct),
             Gen::ToSingle(a.HistStatusChart[j] * pct), Gen::ToSingle(a.HistSignalPct[j] * pct),
             Gen::ToSingle(a.HistNoisePct[j] * pct), Gen::ToSingle(a.HistTempC[j] * pct)});
    }
}

void Statistics(HistTransferState& h) {
    if (h.HistN <= 0) return;
    h.HistMean = Gen::ToSingle(h.vsum / h.HistN);
    const double var = h.HistSumSq - h.vsum * h.vsum / h.HistN;
    if (var >= 0 && h.HistN > 1) h.HistSd = Gen::ToSingle(std::sqrt(var / (h.HistN - 1)));
    if (h.HistMean > 0.1f) h.HistRel = h.HistSd / h.HistMean;
}

std::string StatisticsLine(const Session& s) {
    const HistTransferState& h = s.histRun;
    const bool velocity = s.res.ModeVelocity;
    return std::string(velocity ? "Vavr=" : "Xavr=") + Gen::Format(h.HistMean, "0.0") + "+/-" +
           Gen::Format(h.HistSd, "0.00") + (velocity ? "mm/s (" : "mm (") +
           Gen::Format(h.HistRel, "0.000%") + " n=" + Gen::Format(h.HistN, "#0") + ")";
}

// Each display starts from the set-up's title and the mode's caption, so a second display does
// not repeat the header, date and version after the first one's.
void WriteTexts(Session& s) {
    HistModel& m = s.histChart;
    std::string title = "History";
    if (!s.GraphHeaderStr.empty()) title += " " + s.GraphHeaderStr;
    const Gen::DateTime now = s.io.clock != nullptr ? s.io.clock->Now() : Gen::DateTime{};
    title += "  " + Gen::FormatGeneral(now);
    if (s.res.UnitTimeDays > 0) title += "  T=" + UnitTimeText(s.res.UnitTimeDays) + "d";
    m.title = title;
    m.caption = std::string(s.res.ModeVelocity ? "VEL History" : "DIST History") + " " +
                Gen::Right(kProgramTitle, 5);
}

}  // namespace

void ChartHistory(Session& s) {
    HistTransferState& h = s.histRun;
    HistModel& m = s.histChart;
    if (!s.HistWindowLoaded) {
        m.Setup(s.res.ModeVelocity);
        s.HistWindowLoaded = true;
    }
    h.Vmax100 = h.vmax * 1.01;
    s.VelocityMax = h.Vmax100;
    const double x0 = h.tmin;
    h.t0 += x0;
    ScaleAxes(s, h.tmax - x0);
    OrderByTime(s);
    SetPoints(s, x0);
    m.Footnote(Gen::ToInt16(h.YScale / 10), s.HistCount, h.t0 / kMinutesPerDay, h.Vmax100,
               s.res.ModeVelocity);
    Statistics(h);
    m.footnote += "\n\r" + StatisticsLine(s);
    WriteTexts(s);
    if (s.io.host != nullptr) s.io.host->ShowHistWindow();
}

}  // namespace sondix::hist
