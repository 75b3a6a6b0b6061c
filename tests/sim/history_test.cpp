// The simulated history log ("H") as the history reader takes it: records in fixed columns after
// the "VELHIST" line, the end marker at a line start, the record interval, loss of echo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gen_number.h"
#include "sensor.h"

namespace sondix::sim {
namespace {

// The records between the "VELHIST" line and the end marker, which must start a line.
std::vector<std::string> Records(const std::string& text) {
    std::vector<std::string> records;
    bool in = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t lf = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, lf - at);
        at = lf + 1;
        if (line.ends_with('\r')) line.pop_back();
        if (line.starts_with("  ***  ")) return in ? records : std::vector<std::string>{"?"};
        if (in) records.push_back(line);
        in = in || line.find("VELHIST") != std::string::npos;
    }
    return {"no end marker"};
}

// Column (1-based) and width of the record's fields, as the history reader cuts them.
double Field(const std::string& r, int first, int width) {
    return Gen::Val(r.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width)));
}

TEST(SimHistory, RecordsInTheReadersColumns) {
    for (const auto& [variant, count, interval] :
         {std::tuple{Variant::Distance, 240, 10.0}, {Variant::Velocimeter, 100, 600.0}}) {
        Config c;
        c.variant = variant;
        c.historyRecords = count;
        c.historyInterval = interval;
        c.historyLoeEvery = 7;
        const std::string text = Sensor(c).Feed("H", 100);
        EXPECT_EQ(text.find("Dist    =") == std::string::npos, variant == Variant::Velocimeter);
        EXPECT_NE(text.find("Vrefcal = 3680"), std::string::npos);
        // The end marker lies within the last 61 characters, as the transfer looks for it there.
        EXPECT_GE(text.find("  ***  ") + 61, text.size());
        const std::vector<std::string> records = Records(text);
        ASSERT_EQ(records.size(), static_cast<std::size_t>(count));
        for (std::size_t k = 0; k < records.size(); ++k) {
            const std::string& r = records[k];
            ASSERT_EQ(r.size(), 60u) << r;
            EXPECT_EQ(r.substr(13, 8).find_first_not_of("0123456789ABCDEF"), std::string::npos);
            const auto status = std::stoul(r.substr(13, 8), nullptr, 16);
            EXPECT_EQ((status & 0x2000) != 0, (k + 1) % 7 == 0) << "loss of echo, record " << k + 1;
            EXPECT_GE(Field(r, 28, 6), 3600);  // loop current
            EXPECT_LE(Field(r, 28, 6), 20500);
            EXPECT_LE(Field(r, 42, 2), 3);  // relays
            if (k > 0) {
                EXPECT_NEAR((Field(r, 1, 12) - Field(records[k - 1], 1, 12)) * 87.381 / 1000,
                            interval, 0.1);
            }
        }
    }
}

}  // namespace
}  // namespace sondix::sim
