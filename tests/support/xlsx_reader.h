// Reads back the first worksheet of a written workbook (libzip for the container, Qt's
// QXmlStreamReader for its XML): cells with shared strings resolved, each cell's number format
// and the column widths. Only what the tests look at.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sondix::test {

struct XlsxCell {
    std::string type;   // the cell's t attribute: "" (number), "s", "inlineStr", "str", "b"
    std::string value;  // the number's text, or the string itself (UTF-8)
    int style = 0;      // index into the cell formats
};

class XlsxBook {
  public:
    static std::optional<XlsxBook> Open(const std::string& path, std::string* error = nullptr);

    // (row, column) from 1, as the spreadsheet addresses them; nullptr for an empty cell.
    const XlsxCell* Cell(int row, int col) const;
    bool IsNumber(int row, int col) const;
    double Number(int row, int col) const;     // NaN unless a number cell
    std::string Text(int row, int col) const;  // "" unless a string cell
    // The custom number format code of the cell ("" for the built-in general format).
    std::string NumberFormat(int row, int col) const;
    double ColumnWidth(int col) const;                 // 0 when the column keeps the default width
    std::string Fill(int row, int col) const;          // the fill's colour "FFRRGGBB", or ""
    std::string BottomBorder(int row, int col) const;  // the bottom edge's style, or ""
    std::size_t CellCount() const { return cells_.size(); }

  private:
    std::map<std::pair<int, int>, XlsxCell> cells_;
    std::vector<int> xfNumFmt_;  // cell format index -> number format id
    std::map<int, std::string> numFmts_;
    std::vector<std::pair<int, int>> xfFillBorder_;  // cell format index -> fill, border
    std::vector<std::string> fills_;
    std::vector<std::string> bottoms_;
    std::pair<std::size_t, std::size_t> FillAndBorder(int row, int col) const;
    std::map<int, double> widths_;
};

}  // namespace sondix::test
