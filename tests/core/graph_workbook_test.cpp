// The chart's spreadsheet copy, read back from the written file.
#include "export/graph_workbook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "xlsx_reader.h"

namespace sondix {
namespace {

using test::XlsxBook;

const Gen::DateTime kNow{2026, 12, 6, 12, 0, 0};
constexpr double kNowSerial = 46362.5;  // days since 1899-12-30, noon

std::filesystem::path TempBook(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "sondix-workbook-test";
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::filesystem::remove(path);
    return path;
}

// A 2048-point time series, 0.2 ms apart, whose values are exact in single precision except the
// few rows that test the shortest-text rule.
GraphModel TimeSeries2048() {
    GraphModel g;
    g.chartKind = 1;
    g.XAxisScaleFact = 0.2f;
    g.SetNPoints(2048);
    for (int i = 1; i <= 2048; ++i) {
        g.SetData(i, static_cast<float>(i - 1) * 0.2f, static_cast<float>(i % 16) * 0.25f);
    }
    g.SetData(2, 0.2f, 0.1f);
    g.SetData(3, 0.4f, -0.5f);
    g.SetData(4, 0.6f, 3.68f);
    return g;
}

std::optional<XlsxBook> WriteAndRead(const GraphModel& g, const std::string& header,
                                     const std::string& name) {
    const auto path = TempBook(name);
    const std::string err = WriteGraphWorkbook(g, header, kNow, path.string());
    EXPECT_EQ(err, "");
    std::string readErr;
    auto book = XlsxBook::Open(path.string(), &readErr);
    EXPECT_TRUE(book) << readErr;
    return book;
}

TEST(GraphWorkbook, TimeSeriesOf2048PointsReadsBackCellByCell) {
    const auto book = WriteAndRead(TimeSeries2048(), "Unit#1234,RADAR 24G", "time.xlsx");
    ASSERT_TRUE(book);

    EXPECT_EQ(book->Text(1, 2), "  T ms  ");
    EXPECT_EQ(book->Text(1, 3), "  Volt  ");
    EXPECT_EQ(book->Text(1, 5), "Unit#1234,RADAR 24G");
    ASSERT_TRUE(book->IsNumber(1, 4)) << "the date is a real date cell, not text";
    EXPECT_DOUBLE_EQ(book->Number(1, 4), kNowSerial);

    // x is (i - 1) times the step as it reads in decimal.
    EXPECT_EQ(book->Number(2, 2), 0.0);
    EXPECT_EQ(book->Number(3, 2), 0.2);
    EXPECT_EQ(book->Number(2049, 2), 409.4);
    // The value is the chart's text of the single-precision number, taken as a number.
    EXPECT_EQ(book->Number(2, 3), 0.25);
    EXPECT_EQ(book->Number(3, 3), 0.1);
    EXPECT_EQ(book->Number(4, 3), -0.5);
    EXPECT_EQ(book->Number(5, 3), 3.68);
    EXPECT_EQ(book->Number(2049, 3), 0.0);
    EXPECT_EQ(book->Number(2048, 3), 3.75);
    EXPECT_EQ(book->Cell(2050, 2), nullptr);

    EXPECT_EQ(book->Cell(2, 1), nullptr);
    EXPECT_EQ(book->CellCount(), 4u + 2u * 2048u);

    EXPECT_EQ(book->ColumnWidth(1), 0.0) << "column A keeps its default";
    EXPECT_GE(book->ColumnWidth(2), 8.0);   // "  T ms  "
    EXPECT_GE(book->ColumnWidth(3), 8.0);   // "  Volt  "
    EXPECT_GE(book->ColumnWidth(4), 19.0);  // "2026-12-06 12:00:00"
    EXPECT_GE(book->ColumnWidth(5), 19.0);  // the identification
}

TEST(GraphWorkbook, SpectrumHeadingsAndLatin1HeaderArriveAsUtf8) {
    GraphModel g;
    g.chartKind = 0;
    g.XAxisScaleFact = 24.4140625f;
    g.SetNPoints(3);
    g.SetData(3, 48.828125f, 1.5f);
    const auto book = WriteAndRead(g, "Unit#7,\xB5Wave \xC4", "spect.xlsx");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->Text(1, 2), "  F Hz  ");
    EXPECT_EQ(book->Text(1, 3), " Amp(V) ");
    EXPECT_EQ(book->Text(1, 5), "Unit#7,\xC2\xB5Wave \xC3\x84");
    EXPECT_EQ(book->Number(4, 2), 48.828125);
    EXPECT_EQ(book->Number(4, 3), 1.5);
}

TEST(GraphWorkbook, UnwritableFolderReportsTheError) {
    const std::string path = "/nonexistent-sondix-folder/book.xlsx";
    const std::string err = WriteGraphWorkbook(TimeSeries2048(), "", kNow, path);
    EXPECT_NE(err, "");
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(GraphWorkbook, FileNameCarriesTheDateAndTime) {
    EXPECT_EQ(WorkbookFileName(kNow), "Sondix chart 2026-12-06 12-00-00.xlsx");
}

struct GeneralCase {
    double v;
    const char* text;
};

class GeneralText : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralText, FitsElevenCharacters) {
    EXPECT_EQ(GeneralNumberText(GetParam().v), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralText,
    ::testing::Values(GeneralCase{0, "0"}, GeneralCase{-0.5, "-0.5"},
                      GeneralCase{2047.0 * static_cast<double>(0.2f), "409.4000061"},
                      GeneralCase{static_cast<double>(0.2f) * 3, "0.600000009"},
                      GeneralCase{24975.5859375, "24975.58594"}, GeneralCase{1e20, "1E+20"},
                      GeneralCase{-1.5e-7, "-1.5E-07"}));

}  // namespace
}  // namespace sondix
