#include "export/hist_workbook.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "common/gen_format.h"
#include "common/gen_number.h"

namespace sondix {

namespace {

constexpr int kDateColumn = 13;
constexpr int kHeaderStrColumn = 14;
constexpr int kBorderedColumns = 26;  // A1:Z1

constexpr Colour kRed{255, 0, 0};
constexpr Colour kOrange{255, 165, 0};
constexpr Colour kYellow{255, 255, 0};

// The status indicator's groups: 5 loss of echo, 10 any bit, 20 bits 0xF0000, 40 0xFFF00000.
int StatusGroups(float statusChart) {
    return static_cast<int>(Gen::Int((statusChart - 1) / 5.0 + 0.0001));
}

// A single-precision value as its shortest text reads back, so 0.1f arrives as 0.1.
double Shown(float v) {
    const std::string text = Gen::CStrSingle(v);
    double d = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    return ec == std::errc() && end == text.data() + text.size() ? d : static_cast<double>(v);
}

std::string HexText(std::int32_t status) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(status));
    return buf;
}

std::vector<SheetCell> HeaderRow(bool modeVelocity, const std::string& graphHeaderStr,
                                 const Gen::DateTime& now) {
    const std::array<std::string, 12> names{"  Status  ",
                                            "  Time(min)  ",
                                            modeVelocity ? " Vel(mm/s) " : " Dist(mm) ",
                                            modeVelocity ? " Total(mm) " : " Vel(mm/s)",
                                            "I Loop%",
                                            "LOE",
                                            "Temp C",
                                            "Signal%",
                                            "Noise%",
                                            "Relay 1",
                                            "Relay 2",
                                            "Error Code"};
    std::vector<SheetCell> row;
    for (int c = 1; c <= kBorderedColumns; ++c) {
        SheetCell cell = BlankCell(1, c);
        if (c <= static_cast<int>(names.size())) cell = TextCell(1, c, names[c - 1]);
        if (c == kDateColumn) cell = DateTimeCell(1, c, now);
        if (c == kHeaderStrColumn) cell = TextCell(1, c, graphHeaderStr);
        cell.boxed = true;
        row.push_back(cell);
    }
    return row;
}

// The columns are fitted to the header row alone, before the records are written.
std::vector<double> HeaderWidths(const std::vector<SheetCell>& header) {
    std::vector<SheetCell> fitted;
    for (const SheetCell& c : header) {
        if (c.col <= kDateColumn && c.kind != SheetCell::Kind::Blank) fitted.push_back(c);
    }
    return FittedColumnWidths(fitted);
}

}  // namespace

std::optional<Colour> HistStatusColour(float statusChart) {
    const int k = StatusGroups(statusChart);
    if (k & 8) return kRed;
    if (k & 4) return kOrange;
    if (k & 2) return kYellow;
    return std::nullopt;
}

std::vector<SheetCell> HistWorkbookCells(const Gen::HistoryArrays& a, int n, bool modeVelocity,
                                         const std::string& graphHeaderStr,
                                         const Gen::DateTime& now) {
    std::vector<SheetCell> cells = HeaderRow(modeVelocity, graphHeaderStr, now);
    n = std::min(n, Gen::kHistMax);
    cells.reserve(cells.size() + static_cast<std::size_t>(n > 0 ? n : 0) * 12);
    for (int k = 1; k <= n; ++k) {
        const int r = k + 1;
        const int relays = static_cast<int>(Gen::Int(a.HistRelays[k]));
        if (const auto colour = HistStatusColour(a.HistStatusChart[k])) {
            SheetCell status = BlankCell(r, 1);
            status.fill = colour;
            cells.push_back(status);
        }
        cells.push_back(NumberCell(r, 2, a.HistTime[k]));
        cells.push_back(NumberCell(r, 3, Shown(a.HistValue[k])));
        cells.push_back(NumberCell(r, 4, Shown(a.HistValue2[k])));
        cells.push_back(NumberCell(r, 5, Shown(a.HistLoopPct[k])));
        cells.push_back(NumberCell(r, 6, StatusGroups(a.HistStatusChart[k]) & 1));
        cells.push_back(NumberCell(r, 7, Shown(a.HistTempC[k])));
        cells.push_back(NumberCell(r, 8, Shown(a.HistSignalPct[k])));
        cells.push_back(NumberCell(r, 9, Shown(a.HistNoisePct[k])));
        cells.push_back(NumberCell(r, 10, relays & 1));
        cells.push_back(NumberCell(r, 11, (relays / 2) & 1));
        cells.push_back(TextCell(r, 12, HexText(a.HistStatus[k])));
    }
    return cells;
}

std::string WriteHistWorkbook(const Gen::HistoryArrays& a, int n, bool modeVelocity,
                              const std::string& graphHeaderStr, const Gen::DateTime& now,
                              const std::string& path) {
    const std::vector<SheetCell> cells = HistWorkbookCells(a, n, modeVelocity, graphHeaderStr, now);
    return WriteSheet(cells, HeaderWidths(cells), path);
}

std::string HistWorkbookFileName(const Gen::DateTime& now) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Sondix history %04d-%02d-%02d %02d-%02d-%02d.xlsx", now.year,
                  now.month, now.day, now.hour, now.minute, now.second);
    return buf;
}

}  // namespace sondix
