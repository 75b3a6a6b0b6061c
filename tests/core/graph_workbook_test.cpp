// The chart's spreadsheet copy: the cells, and a written file read back.
#include "export/graph_workbook.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"
#include "xlsx_reader.h"

namespace sondix {
namespace {

const Gen::DateTime kNow{2026, 12, 6, 12, 0, 0};

// A single-precision step is written as the decimal it shows (0.05, not 0.05000000074505806):
// x is (row - 2) times the step.
TEST(GraphWorkbook, StepsAreWrittenAsTheDecimalsTheyShow) {
    const std::tuple<float, int, double> cases[] = {{0.05f, 3, 0.05},
                                                    {0.05f, 5, 0.15},
                                                    {0.2f, 2049, 409.4},
                                                    {24.4140625f, 1025, 24975.5859375}};
    for (const auto& [step, row, shown] : cases) {
        GraphModel g;
        g.SetNPoints(2048);
        g.XAxisScaleFact = step;
        std::vector<double> xs;
        for (const SheetCell& cell : GraphWorkbookCells(g, "", {}))
            if (cell.row == row && cell.col == 2) xs.push_back(cell.number);
        EXPECT_EQ(xs, std::vector<double>{shown}) << step;
    }
}

// A 2048-point time series read back cell by cell: the identification in Latin-1 arrives as
// UTF-8, the date is a real date cell, the values are the chart's text of the single-precision
// numbers, taken as numbers.
TEST(GraphWorkbook, TimeSeriesOf2048PointsReadsBack) {
    GraphModel g;
    g.chartKind = 1;
    g.XAxisScaleFact = 0.2f;
    g.SetNPoints(2048);
    for (int i = 1; i <= 2048; ++i)
        g.SetData(i, static_cast<float>(i - 1) * 0.2f, static_cast<float>(i % 16) * 0.25f);
    g.SetData(3, 0.4f, 0.1f);
    g.SetData(4, 0.6f, -0.5f);
    const std::string path = test::OutPath("graph_workbook.xlsx");
    std::filesystem::remove(path);
    ASSERT_EQ(WriteGraphWorkbook(g, "Unit#7,\xB5Wave \xC4", kNow, path), "");
    std::string readErr;
    const auto book = test::XlsxBook::Open(path, &readErr);
    ASSERT_TRUE(book) << readErr;
    EXPECT_EQ(book->Text(1, 5), "Unit#7,\xC2\xB5Wave \xC3\x84");
    ASSERT_TRUE(book->IsNumber(1, 4));
    EXPECT_DOUBLE_EQ(book->Number(1, 4), 46362.5);  // days since 1899-12-30, noon
    for (const auto& [row, x, y] : {std::tuple{2, 0.0, 0.25},
                                    {3, 0.2, 0.5},
                                    {4, 0.4, 0.1},
                                    {5, 0.6, -0.5},
                                    {2048, 409.2, 3.75},
                                    {2049, 409.4, 0.0}}) {
        EXPECT_EQ(book->Number(row, 2), x) << row;
        EXPECT_EQ(book->Number(row, 3), y) << row;
    }
    EXPECT_EQ(book->CellCount(), 4u + 2u * 2048u);
    EXPECT_GE(book->ColumnWidth(4), 19.0);  // the date shows whole, not as "####"

    const std::string bad = "/nonexistent-sondix-folder/book.xlsx";
    EXPECT_NE(WriteGraphWorkbook(g, "", kNow, bad).find(bad), std::string::npos);
    EXPECT_EQ(WorkbookFileName(kNow), "Sondix chart 2026-12-06 12-00-00.xlsx");
}

// A number's text fits eleven characters.
TEST(GraphWorkbook, GeneralNumberText) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.5, "-0.5"},
        {2047.0 * static_cast<double>(0.2f), "409.4000061"},
        {1e20, "1E+20"},
        {-1.5e-7, "-1.5E-07"},
        {static_cast<double>(0.2f) * 3, "0.600000009"},
        {24975.5859375, "24975.58594"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(GeneralNumberText(v), text) << v;
}

}  // namespace
}  // namespace sondix
