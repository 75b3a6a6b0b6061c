// Stored history files beside a running communications log, repeated displays, and the
// progress the status panel shows while a history arrives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "history/hist_transfer.h"
#include "response/show_data.h"
#include "terminal/headless_io.h"

namespace sondix {
namespace {

std::string Capture() {
    std::ifstream in(std::string(SONDIX_TEST_DATA) + "/history_H.cap", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(HistFile, ShownTwiceWhileTheLogKeepsRecording) {
    HeadlessSession hs;
    hs.host.logOpen = true;
    hs.s.GraphHeaderStr = "Unit#7";
    const std::string path = (std::filesystem::temp_directory_path() / "sondix-hist.log").string();
    std::ofstream(path, std::ios::binary) << Capture();

    LoadHistoryFile(hs.s, path);
    const HistModel first = hs.s.histChart;
    LoadHistoryFile(hs.s, path);
    EXPECT_EQ(hs.host.histShows, 2);
    EXPECT_TRUE(hs.host.logOpen);
    EXPECT_EQ(hs.host.logCloses, 0);
    EXPECT_EQ(hs.s.histChart.title, first.title);
    EXPECT_EQ(hs.s.histChart.caption, "DIST History V3.58");
    EXPECT_TRUE(hs.asker.asked.empty());

    LoadHistoryFile(hs.s, path + ".missing");
    ASSERT_EQ(hs.asker.asked.size(), 1U);
    EXPECT_EQ(hs.asker.asked[0].text, "File does not exists");
}

TEST(HistProgress, RecordsCharactersAndTimeLeftAtTheLineSpeed) {
    HeadlessSession hs;
    hs.s.CommandKey = 'H';
    const std::string cap = Capture();
    // Up to the end of the tenth record line: 20 lines of 62 characters and the marker line
    // are left, 1249 characters at 960 a second.
    std::size_t cut = cap.find("VELHIST");
    for (int k = 0; k <= 10; ++k)
        cut = cap.find('\n', cut) + 1;
    std::string first = cap.substr(0, cut);
    std::string rest = cap.substr(cut);
    ShowData(hs.s, hs.term, first);
    EXPECT_EQ(hs.host.statusPanel, "Status: History 10 of 30 records, " + std::to_string(cut) +
                                       " characters, 00:00:01 left");
    ShowData(hs.s, hs.term, rest);
    EXPECT_EQ(hs.host.statusPanel, "Status: History 30 records, 2041 characters received");
    EXPECT_EQ(hs.host.histShows, 1);
}

}  // namespace
}  // namespace sondix
