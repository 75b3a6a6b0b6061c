// Calendar date and time for titles and workbooks.
#include <gtest/gtest.h>

#include <string>

#include "common/gen_datetime.h"

namespace {

TEST(FormatGeneral, PaddedFields) {
    EXPECT_EQ(Gen::FormatGeneral({2026, 3, 7, 9, 5, 1}), "2026-03-07 09:05:01");
    EXPECT_EQ(Gen::FormatGeneral({1999, 12, 31, 23, 59, 59}), "1999-12-31 23:59:59");
}

struct SerialCase {
    Gen::DateTime t;
    double serial;
};

class SerialDateTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SerialDateTest, DaysSince18991230) {
    EXPECT_DOUBLE_EQ(Gen::ToSerialDate(GetParam().t), GetParam().serial)
        << Gen::FormatGeneral(GetParam().t);
}

INSTANTIATE_TEST_SUITE_P(Table, SerialDateTest,
                         ::testing::Values(SerialCase{{1899, 12, 30, 0, 0, 0}, 0},
                                           SerialCase{{1899, 12, 31, 0, 0, 0}, 1},
                                           SerialCase{{1900, 3, 1, 0, 0, 0}, 61},
                                           SerialCase{{1970, 1, 1, 0, 0, 0}, 25569},
                                           SerialCase{{2000, 2, 29, 6, 0, 0}, 36585.25},
                                           SerialCase{{2026, 12, 6, 12, 0, 0}, 46362.5},
                                           SerialCase{{2024, 1, 1, 0, 0, 1}, 45292 + 1 / 86400.0}));

struct IsoCase {
    std::string text;
    bool ok;
    Gen::DateTime t;
};

class ParseIsoTest : public ::testing::TestWithParam<IsoCase> {};

TEST_P(ParseIsoTest, ValidatesAndReads) {
    const auto& c = GetParam();
    Gen::DateTime t{1, 1, 1, 1, 1, 1};
    const Gen::DateTime before = t;
    ASSERT_EQ(Gen::ParseIso(c.text, t), c.ok) << c.text;
    EXPECT_EQ(t, c.ok ? c.t : before) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseIsoTest,
    ::testing::Values(
        IsoCase{"2026-12-06T12:34:56", true, {2026, 12, 6, 12, 34, 56}},
        IsoCase{"2026-12-06 00:00:00", true, {2026, 12, 6, 0, 0, 0}},
        IsoCase{"2024-02-29T23:59:59", true, {2024, 2, 29, 23, 59, 59}},
        IsoCase{"2023-02-29T00:00:00", false, {}}, IsoCase{"1900-02-29T00:00:00", false, {}},
        IsoCase{"2026-13-01T00:00:00", false, {}}, IsoCase{"2026-00-01T00:00:00", false, {}},
        IsoCase{"2026-04-31T00:00:00", false, {}}, IsoCase{"2026-04-00T00:00:00", false, {}},
        IsoCase{"2026-04-01T24:00:00", false, {}}, IsoCase{"2026-04-01T23:60:00", false, {}},
        IsoCase{"2026-04-01T23:00:60", false, {}}, IsoCase{"2026-04-01X23:00:00", false, {}},
        IsoCase{"2026/04/01T23:00:00", false, {}}, IsoCase{"2026-04-01T23:00", false, {}},
        IsoCase{"2026-04-01T23:00:00Z", false, {}}, IsoCase{"2026-4-01T23:00:000", false, {}},
        IsoCase{"20a6-04-01T23:00:00", false, {}}, IsoCase{"", false, {}}));

}  // namespace
