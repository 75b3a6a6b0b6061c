// Blocks that arrive while ShowData is still busy with an earlier one (its box open) are shown
// and logged after it, in the line's order, and none is lost.
#include <gtest/gtest.h>

#include <stdexcept>

#include "graph_answer.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

std::string Shown(std::string block) {
    std::erase(block, '\n');
    for (std::size_t at = block.find('\r'); at != std::string::npos; at = block.find('\r', at + 2))
        block.insert(at + 1, "\n");
    return block;
}

TEST(ShowDataOrder, ABlockArrivingUnderABoxFollowsTheBlockThatOpenedIt) {
    const std::string timeAnswer =
        "D\r\n" + test::GraphAnswer(test::TimeHeaderLine(512, 3, 3680, 5000),
                                    std::vector<int>(512, 100), 4, 3);
    const struct {
        std::string first;  // opens a box
        int chunks;         // blocks already counted
        bool throws;        // the chart fails
    } cases[] = {
        {"D\r\nTIME SERIES DECIMAL 003 3680 005000 NWORDS=0300\r\nFIRST\r\n", 0, false},
        {"D\r\nNWORDS=0512 003 3680 005000            \r\n0001  ***  \r\nFIRST\r\n", 0, false},
        {"FIRST\r\n", kMaxChunks, false},  // transfer too long
        {timeAnswer, 0, true},             // error in ShowData
    };
    for (const auto& c : cases) {
        test::SessionFixture f;
        f.host.logOpen = true;
        f.s.CommandKey = 'D';
        if (c.chunks > 0) f.s.parser.GraphState = kWaitHeader;
        f.s.parser.ChunkCount = c.chunks;
        if (c.throws) f.host.onShowGraph = [] { throw std::runtime_error("Overflow"); };
        f.asker.whileOpen = [&f] {
            std::string later = "LATER\r\n";
            ShowData(f.s, f.term, later);
        };
        std::string first = c.first;
        ShowData(f.s, f.term, first);
        EXPECT_EQ(f.asker.asked.size(), 1U) << c.first;
        EXPECT_EQ(f.term.text, Shown(c.first) + "LATER\r\n");
        EXPECT_EQ(f.host.log, Shown(c.first) + "LATER\r\n");
    }
}

}  // namespace
}  // namespace sondix
