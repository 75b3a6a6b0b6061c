// The history window's spreadsheet copy ("Excel"): the history arrays in record order, one row
// a record, with the status colour in column A, under a bordered header row.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/gen_datetime.h"
#include "common/gen_hist.h"
#include "common/platform.h"
#include "export/sheet_cells.h"

namespace sondix {

// Column A's colour for a status indicator value: with k = Int((chart - 1) / 5 + 0.0001), red
// for a bit of 0xFFF00000 (k And 8), orange for a bit of 0xF0000 (k And 4), yellow for any other
// status bit (k And 2), none for a clean record.
std::optional<Colour> HistStatusColour(float statusChart);

// The cells of the copy of records 1..n (n: the chart's point count).
std::vector<SheetCell> HistWorkbookCells(const Gen::HistoryArrays& a, int n, bool modeVelocity,
                                         const std::string& graphHeaderStr,
                                         const Gen::DateTime& now);

// Writes those cells to a new workbook at `path`. Returns "" or the error text.
std::string WriteHistWorkbook(const Gen::HistoryArrays& a, int n, bool modeVelocity,
                              const std::string& graphHeaderStr, const Gen::DateTime& now,
                              const std::string& path);

// "Sondix history YYYY-MM-DD hh-nn-ss.xlsx".
std::string HistWorkbookFileName(const Gen::DateTime& now);

}  // namespace sondix
