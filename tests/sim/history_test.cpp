// The history log ("H") as the history reader takes it: header, "VELHIST" line, records in
// fixed columns, end marker at a line start.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/gen_number.h"
#include "sensor.h"

namespace sondix::sim {
namespace {

using Gen::Val;

// Lines of a text split at LF, each without its CR.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t lf = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, lf - at);
        if (line.ends_with('\r')) line.pop_back();
        out.push_back(line);
        at = lf + 1;
    }
    return out;
}

struct Column {
    const char* name;
    int first;  // 1-based column
    int width;
};

// The column table of the history reader.
constexpr Column kColumns[] = {{"time", 1, 12},   {"status", 14, 8}, {"value", 22, 6},
                               {"loop", 28, 6},   {"signal", 34, 4}, {"noise", 38, 4},
                               {"relays", 42, 2}, {"temp", 46, 4},   {"value2", 50, 11}};

std::string Field(const std::string& record, const Column& c) {
    return record.substr(static_cast<std::size_t>(c.first - 1), static_cast<std::size_t>(c.width));
}

struct Parsed {
    std::string text;
    std::vector<std::string> records;
    bool endMarkerAtLineStart = false;
};

Parsed Parse(const std::string& text) {
    Parsed p{text, {}, false};
    bool inRecords = false;
    for (const std::string& l : Lines(text)) {
        if (l.rfind("  ***  ", 0) == 0) {
            p.endMarkerAtLineStart = inRecords;
            break;
        }
        if (inRecords) p.records.push_back(l);
        if (l.find("VELHIST") != std::string::npos) inRecords = true;
    }
    return p;
}

Parsed History(const Config& c) {
    return Parse(Sensor(c).Feed("H", 100));
}

double Ticks(const std::string& record) {
    return Val(Field(record, kColumns[0]));
}

struct HistoryCase {
    Variant variant;
    int records;
    double interval;
};

class HistoryAnswer : public testing::TestWithParam<HistoryCase> {
  protected:
    Config MakeConfig() const {
        Config c;
        c.variant = GetParam().variant;
        c.historyRecords = GetParam().records;
        c.historyInterval = GetParam().interval;
        return c;
    }
};

TEST_P(HistoryAnswer, RecordsHaveTheReaderColumns) {
    const Parsed p = History(MakeConfig());
    ASSERT_TRUE(p.endMarkerAtLineStart);
    ASSERT_EQ(p.records.size(), static_cast<std::size_t>(GetParam().records));
    double lastTicks = -1;
    for (const std::string& r : p.records) {
        ASSERT_EQ(r.size(), 60u) << r;
        EXPECT_EQ(r[12], ' ');
        EXPECT_EQ(Field(r, kColumns[1]).find_first_not_of("0123456789ABCDEF"), std::string::npos);
        for (const Column& c : kColumns) {
            if (c.name == std::string("status")) continue;
            EXPECT_EQ(Field(r, c).find_first_not_of(" -0123456789"), std::string::npos)
                << c.name << " in " << r;
        }
        const double ticks = Ticks(r);
        EXPECT_GT(ticks, lastTicks);
        lastTicks = ticks;
        const double loop = Val(Field(r, kColumns[3]));
        EXPECT_GE(loop, 3600);
        EXPECT_LE(loop, 20500);
        EXPECT_LE(Val(Field(r, kColumns[6])), 3);
    }
    if (p.records.size() >= 2) {
        EXPECT_NEAR((Ticks(p.records[1]) - Ticks(p.records[0])) * 87.381 / 1000,
                    GetParam().interval, 0.1);
    }
}

TEST_P(HistoryAnswer, HeaderTellsTheReaderTheModeAndReference) {
    const Parsed p = History(MakeConfig());
    const auto velhist = p.text.find("VELHIST");
    const std::string header = p.text.substr(0, velhist);
    EXPECT_EQ(header.find("Dist    =") == std::string::npos,
              GetParam().variant == Variant::Velocimeter);
    EXPECT_NE(header.find("Vrefcal = 3680"), std::string::npos);
    EXPECT_NE(header.find("Timer="), std::string::npos);
    // The end marker lies within the last 61 characters, as the transfer looks for it there.
    EXPECT_GE(p.text.find("  ***  ") + 61, p.text.size());
}

INSTANTIATE_TEST_SUITE_P(Logs, HistoryAnswer,
                         testing::Values(HistoryCase{Variant::Distance, 240, 10},
                                         HistoryCase{Variant::Velocimeter, 100, 600}));

TEST(History, LossOfEchoEveryKthRecord) {
    Config c;
    c.historyRecords = 30;
    c.historyLoeEvery = 7;
    const Parsed p = History(c);
    ASSERT_EQ(p.records.size(), 30u);
    for (std::size_t k = 0; k < p.records.size(); ++k) {
        const auto status = std::stoul(Field(p.records[k], kColumns[1]), nullptr, 16);
        EXPECT_EQ((status & 0x2000) != 0, (k + 1) % 7 == 0) << "record " << k + 1;
    }
}

TEST(History, NeverLoggingGivesAnEmptyLogAndTheIntervalFollowsHistLog) {
    Config c;
    Sensor s(c);
    s.Feed("s", 0);
    s.Feed("30000006", 1);  // HistLog "never"
    const Parsed never = Parse(s.Feed("H", 2));
    EXPECT_TRUE(never.endMarkerAtLineStart);
    EXPECT_TRUE(never.records.empty());

    s.Feed("s", 3);
    s.Feed("30000002", 4);  // one minute
    const Parsed p = Parse(s.Feed("H", 5));
    ASSERT_GE(p.records.size(), 2u);
    EXPECT_NEAR((Ticks(p.records[1]) - Ticks(p.records[0])) * 87.381 / 1000, 60, 0.1);
}

}  // namespace
}  // namespace sondix::sim
