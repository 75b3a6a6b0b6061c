// The chart window's spreadsheet copy: its points with their x values and the column headings,
// written into a new workbook file.
#pragma once

#include <string>
#include <vector>

#include "common/gen_datetime.h"
#include "export/sheet_cells.h"
#include "response/graph_model.h"

namespace sondix {

// The cells of the copy, addressed (row, column) from 1: the date and time in (1, 4), the unit's
// identification in (1, 5), the column headings in (1, 2) and (1, 3) by chart kind, then one row
// per point from row 2 (x in column 2, the charted value in column 3). Column 1 stays empty.
std::vector<SheetCell> GraphWorkbookCells(const GraphModel& g, const std::string& graphHeaderStr,
                                          const Gen::DateTime& now);

// Writes those cells to a new workbook at `path`. Returns "" or the error text.
std::string WriteGraphWorkbook(const GraphModel& g, const std::string& graphHeaderStr,
                               const Gen::DateTime& now, const std::string& path);

// "Sondix chart YYYY-MM-DD hh-nn-ss.xlsx": a new name for every second, valid on every desktop.
std::string WorkbookFileName(const Gen::DateTime& now);

}  // namespace sondix
