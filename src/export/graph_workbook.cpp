#include "export/graph_workbook.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "common/gen_format.h"

namespace sondix {

namespace {

constexpr int kSpectrumKind = 0;
constexpr int kTimeKind = 1;

// The chart holds each value as the shortest text of the single-precision number; the copy
// takes that text back as a number, so 0.1f arrives as 0.1 and not as 0.100000001.
SheetCell ChartValueCell(int row, int col, float y) {
    const std::string text = Gen::CStrSingle(y);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return TextCell(row, col, text);
    return NumberCell(row, col, v);
}

// The x step is single precision too. It is taken as the decimal it reads as: its exact value
// when that is a short decimal (24.4140625 Hz), else its shortest text (0.05 ms, not
// 0.05000000074505806); each x, (i - 1) times that step, is kept to 15 significant digits.
double ToDouble(const char* text) {
    double v = 0;
    std::from_chars(text, text + std::strlen(text), v);
    return v;
}

double Decimal15(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return ToDouble(buf);
}

double StepValue(int index, float step) {
    const auto exact = static_cast<double>(step);
    const double decimalStep =
        Decimal15(exact) == exact ? exact : ToDouble(Gen::CStrSingle(step).c_str());
    return Decimal15(index * decimalStep);
}

}  // namespace

std::vector<SheetCell> GraphWorkbookCells(const GraphModel& g, const std::string& graphHeaderStr,
                                          const Gen::DateTime& now) {
    std::vector<SheetCell> cells;
    cells.reserve(g.points.size() * 2 + 4);
    cells.push_back(DateTimeCell(1, 4, now));
    cells.push_back(TextCell(1, 5, graphHeaderStr));
    if (g.chartKind == kTimeKind) {
        cells.push_back(TextCell(1, 2, "  T ms  "));
        cells.push_back(TextCell(1, 3, "  Volt  "));
    } else if (g.chartKind == kSpectrumKind) {
        cells.push_back(TextCell(1, 2, "  F Hz  "));
        cells.push_back(TextCell(1, 3, " Amp(V) "));
    }
    for (int i = 1; i <= g.NPoints(); ++i) {
        const int row = i + 1;
        cells.push_back(NumberCell(row, 2, StepValue(i - 1, g.XAxisScaleFact)));
        cells.push_back(ChartValueCell(row, 3, g.points[static_cast<std::size_t>(i - 1)].y));
    }
    return cells;
}

std::string WriteGraphWorkbook(const GraphModel& g, const std::string& graphHeaderStr,
                               const Gen::DateTime& now, const std::string& path) {
    return WriteSheet(GraphWorkbookCells(g, graphHeaderStr, now), path);
}

std::string WorkbookFileName(const Gen::DateTime& now) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Sondix chart %04d-%02d-%02d %02d-%02d-%02d.xlsx", now.year,
                  now.month, now.day, now.hour, now.minute, now.second);
    return buf;
}

}  // namespace sondix
