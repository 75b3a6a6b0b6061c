// One worksheet as a list of cells, and its writing into a new .xlsx file. The dumps describe
// what goes where; this file knows libxlsxwriter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/gen_datetime.h"
#include "common/platform.h"

namespace sondix {

struct SheetCell {
    enum class Kind { Text, Number, DateTime, Blank };
    int row = 1;  // 1-based, as the spreadsheet's Cells(row, column)
    int col = 1;
    Kind kind = Kind::Text;
    std::string text;  // Latin-1
    double number = 0;
    Gen::DateTime when;
    std::optional<Colour> fill;  // the cell's background colour
    bool boxed = false;          // thin black borders on all four edges
};

inline SheetCell TextCell(int row, int col, std::string text) {
    return {row, col, SheetCell::Kind::Text, std::move(text), 0, {}, {}, false};
}
inline SheetCell NumberCell(int row, int col, double v) {
    return {row, col, SheetCell::Kind::Number, {}, v, {}, {}, false};
}
inline SheetCell DateTimeCell(int row, int col, const Gen::DateTime& t) {
    return {row, col, SheetCell::Kind::DateTime, {}, 0, t, {}, false};
}

inline SheetCell BlankCell(int row, int col) {
    return {row, col, SheetCell::Kind::Blank, {}, 0, {}, {}, false};
}

// The number format of date-time cells.
inline constexpr const char* kDateTimeFormat = "yyyy-mm-dd hh:mm:ss";

// The text a spreadsheet shows for a number in its general format (at most 11 characters), from
// which the column widths are fitted.
std::string GeneralNumberText(double v);

// Column widths (in character units, index 0 = column A) that fit the longest shown text of
// each column; 0 for a column without cells.
std::vector<double> FittedColumnWidths(const std::vector<SheetCell>& cells);

// Writes the cells into one worksheet of a new workbook at `path` (UTF-8 file name), with the
// columns fitted to their contents. Returns "" or the error text.
std::string WriteSheet(const std::vector<SheetCell>& cells, const std::string& path);
// The same with the column widths given (index 0 = column A; 0 keeps the default width).
std::string WriteSheet(const std::vector<SheetCell>& cells, const std::vector<double>& widths,
                       const std::string& path);

}  // namespace sondix
