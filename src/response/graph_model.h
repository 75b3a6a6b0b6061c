// What the chart window shows: its points, texts and axis settings. The decoders write it; the
// chart window draws it and the workbook export reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sondix {

struct GraphPoint {
    float x = 0;
    float y = 0;
};

struct YAxisRange {
    double min = -0.5;
    double max = 4.0;
    int major = 9;
};

struct GraphModel {
    // Which answer filled it last: 'D', 'F', '[' or 'y' (0 before any).
    char kind = 0;
    std::string caption = "T-Graph";
    std::string title;
    std::string footnote;
    std::string timeFootnoteBase = "D command (AltPrtScr=copy graph window) ";
    std::string spectFootnoteBase = "F command (AltPrtScr=copy graph window) ";
    int chartKind = 1;  // 1 time series or ramp, 0 spectrum
    std::string xAxisTitle = "ms";
    std::string yAxisTitle = "Volts";
    int xLabelFontSize = 8;
    YAxisRange yAxis;
    bool yAxisAuto = false;
    bool yAxisSetByTransfer = false;  // the ramp profile set the y range
    int divisionsPerLabel = 1;
    int divisionsPerTick = 1;
    float labelStep = 0;
    float XAxisScaleFact = 0;
    std::vector<GraphPoint> points;  // row i is points[i - 1]

    // The window's set-up on load: every setting back to its design value. The rows stay: the
    // header of a transfer sets the point count before the decode loads the window.
    void Setup() {
        std::vector<GraphPoint> rows = std::move(points);
        *this = GraphModel{};
        points = std::move(rows);
    }
    int NPoints() const { return static_cast<int>(points.size()); }
    void SetNPoints(int n) { points.assign(n < 0 ? 0 : static_cast<std::size_t>(n), GraphPoint{}); }
    // Row i (1-based); rows outside the count are ignored.
    void SetData(int i, float x, float y) {
        if (i >= 1 && i <= NPoints()) points[static_cast<std::size_t>(i - 1)] = {x, y};
    }
};

}  // namespace sondix
