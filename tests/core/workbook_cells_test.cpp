// The chart's workbook carries single-precision values as the decimals they show: no binary
// noise in the x column (0.05, not 0.05000000074505806) nor in the values.
#include <gtest/gtest.h>

#include "export/graph_workbook.h"

namespace sondix {
namespace {

struct StepCase {
    float step;
    int row;       // of the point (2 = the first point)
    double shown;  // exactly this double in the cell
};

const StepCase kSteps[] = {
    {0.05f, 2, 0.0},
    {0.05f, 3, 0.05},
    {0.05f, 4, 0.1},
    {0.05f, 5, 0.15},
    {0.2f, 2049, 409.4},                 // the last of 2048 time-series points
    {24.4140625f, 1025, 24975.5859375},  // an exact spectrum step stays exact
    {19.53125f, 3, 19.53125},
};

double CellAt(const std::vector<SheetCell>& cells, int row, int col) {
    for (const SheetCell& c : cells) {
        if (c.row == row && c.col == col && c.kind == SheetCell::Kind::Number) return c.number;
    }
    return -1;
}

TEST(WorkbookCells, SingleValuesAreWrittenAsTheDecimalsTheyShow) {
    for (const StepCase& c : kSteps) {
        GraphModel g;
        g.SetNPoints(2048);
        g.SetData(1, 0, 0.1f);
        g.XAxisScaleFact = c.step;
        const std::vector<SheetCell> cells = GraphWorkbookCells(g, "", {2026, 1, 2, 3, 4, 5});
        EXPECT_EQ(CellAt(cells, c.row, 2), c.shown) << c.step << " row " << c.row;
        EXPECT_EQ(CellAt(cells, 2, 3), 0.1);
    }
}

}  // namespace
}  // namespace sondix
