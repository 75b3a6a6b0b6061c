// While a data graph arrives the status panel counts its characters against those the header
// announces and gives the time left at the line's speed; it clears itself once the graph is in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph_answer.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

TEST(GraphProgress, TheStatusPanelCountsTheWordsAndTheTimeLeft) {
    test::SessionFixture f;
    f.s.CommandKey = 'D';
    const std::string header = "D\r\n" + test::TimeHeaderLine(512, 3, 3680, 5000);
    const std::string answer =
        header + test::WordLines(std::vector<int>(512, 100), 4) + "\r\n  ***  \r\n";
    std::string first = answer.substr(0, header.size() + 1000);
    ShowData(f.s, f.term, first);
    // 512 words end with the terminator line at 2121; 1121 characters at 960 a second.
    EXPECT_NE(f.host.statusPanel.find("1000 of 2121"), std::string::npos) << f.host.statusPanel;
    EXPECT_NE(f.host.statusPanel.find(" 2 s"), std::string::npos) << f.host.statusPanel;
    EXPECT_EQ(f.host.statusTimerStarts, 0);
    std::string rest = answer.substr(first.size());
    ShowData(f.s, f.term, rest);
    EXPECT_EQ(f.host.graphShows, 1);
    EXPECT_EQ(f.host.statusTimerStarts, 1);
}

}  // namespace
}  // namespace sondix
