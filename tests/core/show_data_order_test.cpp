// Blocks that arrive while ShowData is still busy with an earlier one (its box open) are shown
// and logged after it, in the line's order, and none is lost.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "graph_answer.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::SessionFixture;

std::string Shown(const std::string& block) {
    std::string out;
    for (const char c : block) {
        if (c == '\n') continue;
        out += c;
        if (c == '\r') out += '\n';
    }
    return out;
}

std::string TimeAnswer() {
    return "D\r\n" + test::GraphAnswer(test::TimeHeaderLine(512, 3, 3680, 5000),
                                       std::vector<int>(512, 100), 4, 3);
}

struct OrderCase {
    const char* name;
    char key;
    std::function<void(SessionFixture&)> setup;
    std::string first;  // opens a box
};

const OrderCase kCases[] = {
    {"InvalidWordCount",
     'D',
     {},
     "D\r\nTIME SERIES DECIMAL 003 3680 005000 NWORDS=0300\r\nFIRST\r\n"},
    {"MisplacedTerminator",
     'D',
     {},
     "D\r\nNWORDS=0512 003 3680 005000            \r\n0001  ***  \r\nFIRST\r\n"},
    {"TransferTooLong", 'D',
     [](SessionFixture& f) {
         f.s.parser.GraphState = kWaitHeader;
         f.s.parser.ChunkCount = kMaxChunks;
     },
     "FIRST\r\n"},
    {"ErrorInShowData", 'D',
     [](SessionFixture& f) { f.host.onShowGraph = [] { throw std::runtime_error("Overflow"); }; },
     TimeAnswer()},
};

TEST(ShowDataOrder, ABlockArrivingUnderABoxFollowsTheBlockThatOpenedIt) {
    for (const OrderCase& c : kCases) {
        SessionFixture f;
        f.host.logOpen = true;
        f.s.CommandKey = c.key;
        if (c.setup) c.setup(f);
        f.asker.whileOpen = [&f] {
            std::string later = "LATER\r\n";
            ShowData(f.s, f.term, later);
        };
        std::string first = c.first;
        ShowData(f.s, f.term, first);
        EXPECT_EQ(f.asker.asked.size(), 1U) << c.name;
        EXPECT_EQ(f.term.text, Shown(c.first) + "LATER\r\n") << c.name;
        EXPECT_EQ(f.host.log, Shown(c.first) + "LATER\r\n") << c.name;
    }
}

}  // namespace
}  // namespace sondix
