// Reads back the first worksheet of a written workbook (libzip for the container, Qt's
// QXmlStreamReader for its XML): cells with shared strings resolved, their fills, the column
// widths. Only what the tests look at.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace sondix::test {

struct XlsxCell {
    std::string type;   // the cell's t attribute: "" (number), "s", "inlineStr", "str", "b"
    std::string value;  // the number's text, or the string itself (UTF-8)
    std::string fill;   // the fill's colour "FFRRGGBB", or ""
};

class XlsxBook {
  public:
    static std::optional<XlsxBook> Open(const std::string& path, std::string* error = nullptr);

    // (row, column) from 1, as the spreadsheet addresses them; nullptr for an empty cell.
    const XlsxCell* Cell(int row, int col) const;
    bool IsNumber(int row, int col) const;
    double Number(int row, int col) const;     // NaN unless a number cell
    std::string Text(int row, int col) const;  // "" unless a string cell
    double ColumnWidth(int col) const;         // 0 when the column keeps the default width
    std::string Fill(int row, int col) const { return Cell(row, col) ? Cell(row, col)->fill : ""; }
    std::size_t CellCount() const { return cells_.size(); }

  private:
    std::map<std::pair<int, int>, XlsxCell> cells_;
    std::map<int, double> widths_;
};

}  // namespace sondix::test
