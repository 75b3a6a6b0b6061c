// What the history window shows: five curves over time (value, loop current, status indicator,
// signal, noise), the axes the transfer chose, the legends, the title, footnote and caption.
// The history transfer writes it; frmHist draws it and never decides anything itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/platform.h"

namespace sondix {

// The arguments of one SetData call, as passed (negative values are drawn at 0).
struct HistPoint {
    float t = 0;
    float vel = 0;
    float iloop = 0;
    float anerr = 0;
    float amp = 0;
    float noise = 0;
    float tempc = 0;  // accepted, not drawn
};

struct HistAxis {
    float min = 0;
    float max = 0;
    int ndivs = 10;
    int minor = 1;
    std::string title;
};

inline constexpr int kHistSeries = 5;

struct HistModel {
    std::string caption = "Vel Hist";
    std::string title = "History";
    std::string footnote;
    HistAxis x{1000, 2000, 10, 1, "Time"};
    HistAxis y{0, 2000, 10, 1, "Velocity (% of max)"};
    std::array<std::string, kHistSeries> legends{};  // the labels of columns 1, 3, 5, 7, 9
    std::vector<HistPoint> points;                   // row i is points[i - 1]

    // The window's set-up: captions, axis titles and placeholder ranges for the mode.
    void Setup(bool modeVelocity);
    int NPoints() const { return static_cast<int>(points.size()); }
    void SetNPoints(int n) { points.assign(n < 0 ? 0 : static_cast<std::size_t>(n), {}); }
    // Row i (1-based); rows outside the count are ignored.
    void SetData(int i, const HistPoint& p) {
        if (i >= 1 && i <= NPoints()) points[static_cast<std::size_t>(i - 1)] = p;
    }
    void SetScaleX(float xmin, float xmax, std::int16_t ndivs, const std::string& axisTitle);
    // False when ymax is neither about 100 nor about 10: the axis is set, the legends are not.
    bool SetScaleY(float ymin, float ymax, std::int16_t ndivs, const std::string& axisTitle,
                   bool modeVelocity);
    // " H command: ... Time0 = <t0 cut to 0.01 d>d, Vmax(100%) = <velmax>, Nrecords = <nrec>".
    void Footnote(std::int16_t pp, std::int16_t nrec, double t0, double velmax, bool modeVelocity);
};

// The status indicator: 1, +10 for any bit, +5 loss of echo (0x2000), +20 for a bit of
// 0xF0000, +40 for a bit of 0xFFF00000 (1 .. 76).
float CnvStatusToChart(std::int32_t status);

// The legends for a y maximum of 100 (percent true) or of 10.
std::array<std::string, kHistSeries> HistLegends(bool modeVelocity, bool percent);

// The series' line colours, in the series order.
inline constexpr std::array<Colour, kHistSeries> kHistPens{
    {{180, 0, 0}, {0, 0, 180}, {255, 180, 200}, {180, 150, 0}, {135, 113, 0}}};

}  // namespace sondix
