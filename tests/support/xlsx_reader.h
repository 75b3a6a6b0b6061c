// Reads back the first worksheet of a written workbook (libzip for the container, Qt's
// QXmlStreamReader for its XML): its cells, shared strings resolved.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace sondix::test {

struct XlsxCell {
    std::string type;   // the cell's t attribute: "" (number), "s", "inlineStr", "str", "b"
    std::string value;  // the number's text, or the string itself (UTF-8)
};

class XlsxBook {
  public:
    static std::optional<XlsxBook> Open(const std::string& path, std::string* error = nullptr);

    // (row, column) from 1, as the spreadsheet addresses them; nullptr for an empty cell.
    const XlsxCell* Cell(int row, int col) const;
    bool IsNumber(int row, int col) const;
    double Number(int row, int col) const;     // NaN unless a number cell
    std::string Text(int row, int col) const;  // "" unless a string cell
    std::size_t CellCount() const { return cells_.size(); }

  private:
    std::map<std::pair<int, int>, XlsxCell> cells_;
};

}  // namespace sondix::test
