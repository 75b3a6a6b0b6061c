#include "history/hist_model.h"

#include <cmath>

#include "common/gen_format.h"
#include "response/data_graph_rules.h"

namespace sondix {

namespace {

constexpr std::uint32_t kLossOfEcho = 0x2000;
constexpr std::uint32_t kGroupLow = 0xF0000;
constexpr std::uint32_t kGroupHigh = 0xFFF00000;

}  // namespace

void HistModel::Setup(bool modeVelocity) {
    caption = modeVelocity ? "VEL History" : "DIST History";
    // Placeholder ranges: every display sets both axes.
    y = HistAxis{0, 2000, 10, 1, modeVelocity ? "Velocity (% of max)" : "Distance (% of max)"};
    x = HistAxis{1000, 2000, 10, 1, "Time"};
    title = "History";
}

void HistModel::SetScaleX(float xmin, float xmax, std::int16_t ndivs,
                          const std::string& axisTitle) {
    x.min = xmin;
    x.max = xmax;
    x.ndivs = ndivs;
    x.title = axisTitle;
}

bool HistModel::SetScaleY(float ymin, float ymax, std::int16_t ndivs, const std::string& axisTitle,
                          bool modeVelocity) {
    y.min = ymin;
    y.max = ymax;
    y.ndivs = ndivs;
    y.minor = 5;
    y.title = axisTitle;
    if (std::fabs(ymax - 100) < 1) {
        legends = HistLegends(modeVelocity, true);
    } else if (std::fabs(ymax - 10) < 0.1) {
        legends = HistLegends(modeVelocity, false);
    } else {
        return false;
    }
    return true;
}

void HistModel::Footnote(std::int16_t, std::int16_t nrec, double t0, double velmax,
                         bool modeVelocity) {
    footnote = std::string(" H command: ") + "Use Alt PrtScr to copy and paste graph window.  " +
               "Time0 = " + UnitTimeText(t0) +
               (modeVelocity ? "d, Vmax(100%) = " : "d, Ymax(100%) = ") + Gen::Str(velmax) +
               ", Nrecords = " + Gen::Str(nrec);
}

float CnvStatusToChart(std::int32_t status) {
    const auto s = static_cast<std::uint32_t>(status);
    float v = 1;
    if (s != 0) v += 10;
    if (s & kLossOfEcho) v += 5;
    if (s & kGroupLow) v += 20;
    if (s & kGroupHigh) v += 40;
    return v;
}

std::array<std::string, kHistSeries> HistLegends(bool modeVelocity, bool percent) {
    const std::string value = modeVelocity ? "Vel" : "Dist";
    if (percent) return {value + " % of max", "I % of 4-20", "Status", "SigAmp %", "Noise %"};
    return {value + " 10% of max", "I 10% of 4-20", "Status", "SigAmp 10%", "Noise 10%"};
}

}  // namespace sondix
