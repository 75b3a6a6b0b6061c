// A run-time error inside ShowData (a window operation that throws, a conversion that fails)
// stops a running stream, is shown, and leaves the program running with the parser idle.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "graph_answer.h"
#include "response/parser_state.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::SessionFixture;

void Feed(SessionFixture& f, std::string block) {
    ShowData(f.s, f.term, block);
}

std::vector<int> Words(int n) {
    return std::vector<int>(static_cast<std::size_t>(n), 123);
}

std::string TimeAnswer() {
    return test::GraphAnswer(test::TimeHeaderLine(512, 1, 3680, 20000), Words(512), 4, 3);
}

std::string SpectrumAnswer() {
    return test::GraphAnswer(
        "S= 45 f = 12.5\r\n" + test::SpectrumLabelLine(512, 1, 3680, 2000, 512), Words(512), 3, 2);
}

TEST(ShowDataError, IsShownAndTheProgramGoesOn) {
    const struct {
        char key;
        bool portOpen, sendsStop;  // a running stream gets "R"
    } cases[] = {{'D', true, false}, {'[', true, true}, {'{', true, true}, {'[', false, false}};
    for (const auto& c : cases) {
        SessionFixture f;
        f.port.open = c.portOpen;
        f.host.logOpen = true;
        f.s.ResultDisp_Loaded = true;
        f.s.CommandKey = static_cast<unsigned char>(c.key);
        f.host.onShowGraph = [] { throw std::runtime_error("Overflow"); };
        f.host.onResultsChanged = [] { throw std::runtime_error("Type mismatch"); };
        const std::string answer = c.key == 'D'   ? TimeAnswer()
                                   : c.key == '[' ? SpectrumAnswer()
                                                  : std::string("Vel= 1 S=45\r\n");
        Feed(f, answer);
        SCOPED_TRACE(std::string(1, c.key) + (c.portOpen ? " open" : " closed"));
        ASSERT_EQ(f.asker.asked.size(), 1U);
        const std::string cause = c.key == '{' ? "Type mismatch" : "Overflow";
        EXPECT_EQ(f.asker.asked[0].text, "Error in ShowData:" + cause);
        EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::OK);
        EXPECT_EQ(f.port.sent, c.sendsStop ? "R" : "");
        EXPECT_EQ(f.s.CommandKey, c.sendsStop ? 'R' : 0);
        EXPECT_EQ(f.host.endProgram, 0);
        EXPECT_TRUE(f.host.logOpen);
        // Back to idle, and the block still reaches the box and the log.
        EXPECT_EQ(f.s.parser.GraphState, kIdle);
        EXPECT_EQ(f.s.parser.AutoSpect_status, kIdle);
        EXPECT_EQ(f.s.parser.AutoResults_status, kIdle);
        EXPECT_EQ(f.s.parser.AnswerText + f.s.parser.HeaderText + f.s.parser.TrailerText, "");
        EXPECT_EQ(f.s.parser.AnswerLen, 0);
        EXPECT_EQ(f.term.text, answer);
        EXPECT_EQ(f.host.log, answer);
    }
}

// A box shown under the error may let the next block in: the parser is idle by then, and the
// answer to the command sent again is read normally.
TEST(ShowDataErrorRecovery, ParserIsIdleUnderTheBoxAndReadsTheNextAnswer) {
    SessionFixture f;
    f.s.CommandKey = 'D';
    int calls = 0;
    f.host.onShowGraph = [&] {
        if (++calls == 1) throw std::runtime_error("Overflow");
    };
    std::int16_t stateUnderBox = -1;
    f.asker.whileOpen = [&] { stateUnderBox = f.s.parser.GraphState; };
    Feed(f, TimeAnswer());
    EXPECT_EQ(stateUnderBox, kIdle);
    EXPECT_EQ(f.asker.asked.size(), 1U);
    f.s.CommandKey = 'D';
    Feed(f, TimeAnswer());
    EXPECT_EQ(f.asker.asked.size(), 1U);
    EXPECT_EQ(f.host.graphShows, 2);
    EXPECT_EQ(f.s.parser.GraphState, kIdle);
}

// A failing text box does not cost the log its block; an exception of any kind is reported.
class ThrowingTextBox : public StringTextBox {
  public:
    void SetSelText(std::string_view) override { throw 42; }
};

TEST(ShowDataErrorRecovery, FailingDisplayStillLogs) {
    SessionFixture f;
    ThrowingTextBox box;
    f.host.logOpen = true;
    std::string block = "a\nb\r";
    ShowData(f.s, box, block);
    ASSERT_EQ(f.asker.asked.size(), 1U);
    EXPECT_EQ(f.asker.asked[0].text, "Error in ShowData:Unknown error");
    EXPECT_EQ(f.host.log, "ab\r\n");
}

}  // namespace
}  // namespace sondix
