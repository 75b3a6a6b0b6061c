// The display step (backspaces, line ends, the trim of a full box), the calibrate step, the
// logging step with its failure box, and the caret.
#include <gtest/gtest.h>

#include <string>

#include "response/dispatch_steps.h"
#include "response/parser_state.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::SessionFixture;

void Feed(SessionFixture& f, std::string block) {
    ShowData(f.s, f.term, block);
}

struct DisplayCase {
    const char* name;
    std::string before;  // the box
    std::string block;
    std::string after;  // the box
    std::string logged;
};

class DisplayEdit : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayEdit, ShowsTheEditedBlockAndLogsIt) {
    const DisplayCase& c = GetParam();
    SessionFixture f;
    f.host.logOpen = true;
    f.term.text = c.before;
    Feed(f, c.block);
    EXPECT_EQ(f.term.text, c.after);
    EXPECT_EQ(f.term.selStart, static_cast<long long>(c.after.size()));  // caret at the end
    EXPECT_EQ(f.host.log, c.logged);
}

const DisplayCase kDisplayCases[] = {
    {"BackspaceTakesThePreviousCharacter", "", "AB\bC", "AC", "AC"},
    {"TwoBackspacesTakeTwo", "", "ABC\b\bD", "AD", "AD"},
    {"LeadingBackspaceTakesTheBoxsLastCharacter", "xyz", "\bQ", "xyQ", "Q"},
    {"LeadingBackspaceAloneDeletes", "xyz", "\b", "xy", ""},
    {"LeadingBackspaceOnAnEmptyBoxIsDropped", "", "\bQ", "Q", "Q"},
    {"OnlyBackspaceOnAnEmptyBox", "", "\b", "", ""},
    {"SecondLeadingBackspaceTakesTheSameCharacter", "xyz", "\b\bQ", "xyQ", "Q"},
    {"BackspaceAfterConsumedTextReachesTheBox", "xy", "A\b\bQ", "xQ", "Q"},
    {"CrLfStays", "", "a\r\nb", "a\r\nb", "a\r\nb"},
    {"LoneCrGetsItsLf", "", "a\rb\r", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"LfAloneIsDropped", "", "a\nb\n", "ab", "ab"},
    {"LfCrBecomesCrLf", "", "a\n\rb", "a\r\nb", "a\r\nb"},
    {"AppendsToTheBox", "line\r\n", "more", "line\r\nmore", "more"},
    {"EditsTogether", "xyz", "\bAB\bC\nD\r", "xyACD\r\n", "ACD\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Blocks, DisplayEdit, ::testing::ValuesIn(kDisplayCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A box longer than 16384 characters loses its first 8191 before the new text.
TEST(DisplayTrim, FullBoxIsCutBeforeTheNewText) {
    for (const auto& [length, kept] :
         {std::pair<std::size_t, std::size_t>{16384, 16384}, {16385, 8194}, {20000, 11809}}) {
        SessionFixture f;
        std::string box;
        for (std::size_t i = 0; i < length; ++i)
            box.push_back(static_cast<char>('a' + i % 26));
        f.term.text = box;
        Feed(f, "NEW");
        EXPECT_EQ(f.term.text, box.substr(box.size() - kept) + "NEW") << length;
    }
}

TEST(DisplayTrimBackspace, LeadingBackspaceAfterTheTrimTakesTheLastCharacter) {
    SessionFixture f;
    f.term.text = std::string(16384, 'a') + "Z";
    Feed(f, "\bQ");
    EXPECT_EQ(f.term.text, std::string(8193, 'a') + "Q");
}

// When the block is kept out of the box: the words of a data graph, a history answer's body.
struct SuppressCase {
    const char* name;
    char commandKey;
    std::int32_t answerLen;
    std::int16_t graphState;
    bool suppressed;
};

class DisplaySuppressed : public ::testing::TestWithParam<SuppressCase> {};

TEST_P(DisplaySuppressed, FollowsTheHistoryLengthAndTheGraphState) {
    const SuppressCase& c = GetParam();
    SessionFixture f;
    f.s.CommandKey = static_cast<unsigned char>(c.commandKey);
    f.s.parser.AnswerLen = c.answerLen;
    f.s.parser.GraphState = c.graphState;
    EXPECT_EQ(dispatch::DisplaySuppressed(f.s), c.suppressed);
}

INSTANTIATE_TEST_SUITE_P(
    States, DisplaySuppressed,
    ::testing::Values(SuppressCase{"HistoryHead", 'H', 119, kWaitHeader, false},
                      SuppressCase{"HistoryBody", 'H', 120, kWaitHeader, true},
                      SuppressCase{"LongAnswerOfOtherCommand", 'P', 5000, kIdle, false},
                      SuppressCase{"GraphHeader", 'D', 0, kWaitHeader, false},
                      SuppressCase{"GraphWords", 'D', 0, kReceiving, true},
                      SuppressCase{"GraphLineEnd", 'D', 3000, kComplete, false},
                      SuppressCase{"GraphFault", 'F', 0, kFault, false},
                      // The state alone decides, whatever the pending command.
                      SuppressCase{"WordsAfterTheCommandChanged", 'x', 0, kReceiving, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A history answer is shown until its collected text reaches 120 characters.
TEST(DisplaySkip, HistoryBodyIsLoggedButNotShown) {
    SessionFixture f;
    f.host.logOpen = true;
    f.s.CommandKey = 'H';
    f.s.parser.AnswerLen = 119;
    Feed(f, "first\n");
    f.s.parser.AnswerLen = 120;
    Feed(f, "second\n");
    EXPECT_EQ(f.term.text, "first");
    EXPECT_EQ(f.host.log, "firstsecond\n");
}

// ---- calibrate step ----

struct CalibrateCase {
    const char* name;
    bool pending;
    char commandKey;
    const char* block;
    bool restored;
};

class CalibrateStep : public ::testing::TestWithParam<CalibrateCase> {};

TEST_P(CalibrateStep, RestoresTheButtonAfterTheCalibrationAnswer) {
    const CalibrateCase& c = GetParam();
    SessionFixture f;
    f.s.SaveColor = {240, 240, 240};
    f.s.cmdCalibrate.face = {250, 100, 100};
    f.s.cmdCalibrate.enabled = false;
    f.s.CalibrationPending = c.pending;
    f.s.CommandKey = static_cast<unsigned char>(c.commandKey);
    Feed(f, c.block);
    EXPECT_EQ(f.s.cmdCalibrate.enabled, c.restored);
    EXPECT_EQ(f.s.cmdCalibrate.face == f.s.SaveColor, c.restored);
    EXPECT_EQ(f.s.CalibrationPending, c.pending && !c.restored);
    if (c.restored) {
        EXPECT_GE(f.host.buttonChanges, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, CalibrateStep,
    ::testing::Values(CalibrateCase{"AnswerWithD", true, 'c', "Cal DONE\r\n", true},
                      CalibrateCase{"StoppedByR", true, 'R', "ok\r\n", true},
                      CalibrateCase{"OtherAnswer", true, 'c', "busy\r\n", false},
                      // The shown text decides: a "D" taken back by a backspace does not count.
                      CalibrateCase{"DTakenBack", true, 'c', "D\bok\r\n", false},
                      CalibrateCase{"NotPending", false, 'c', "DONE\r\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalibrateStepSkip, NotRunWhileTheDisplayIsSuppressed) {
    SessionFixture f;
    f.s.CalibrationPending = true;
    f.s.CommandKey = 'H';
    f.s.parser.GraphState = kWaitHeader;  // a history answer is arriving
    f.s.parser.AnswerLen = 200;
    Feed(f, "DONE");
    EXPECT_TRUE(f.s.CalibrationPending);
}

// ---- logging step ----

TEST(LogStep, NothingWrittenWithoutALog) {
    SessionFixture f;
    Feed(f, "abc");
    EXPECT_EQ(f.host.log, "");
    EXPECT_TRUE(f.asker.asked.empty());
}

TEST(LogStep, RetryWritesTheSameBlockAgain) {
    SessionFixture f;
    f.host.logOpen = true;
    f.host.logError = "Disk full";
    f.asker.answers.push_back(MsgAnswer::Retry);
    f.asker.whileOpen = [&] {
        if (f.asker.asked.size() == 2) f.host.logError.clear();
    };
    f.asker.answers.push_back(MsgAnswer::Retry);
    Feed(f, "abc\r");
    ASSERT_EQ(f.asker.asked.size(), 2U);
    EXPECT_EQ(f.asker.asked[0].title, "Sondix V3.58");
    EXPECT_EQ(f.asker.asked[0].text, "Disk full");
    EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(f.asker.asked[0].icon, MsgIcon::Critical);
    EXPECT_EQ(f.host.log, "abc\r\n");
    EXPECT_TRUE(f.host.logOpen);
}

TEST(LogStep, CancelClosesTheLog) {
    SessionFixture f;
    f.host.logOpen = true;
    f.host.logError = "Disk full";
    Feed(f, "abc");  // the fake answers Cancel
    EXPECT_EQ(f.asker.asked.size(), 1U);
    EXPECT_FALSE(f.host.logOpen);
    EXPECT_EQ(f.host.logCloses, 1);
    Feed(f, "def");
    EXPECT_EQ(f.asker.asked.size(), 1U);
    EXPECT_EQ(f.term.text, "abcdef");
}

}  // namespace
}  // namespace sondix
