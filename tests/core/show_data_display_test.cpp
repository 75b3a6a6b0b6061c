// The display step (backspaces, line ends, the trim of a full box), the calibrate step, the
// logging step with its failure box, and the caret.
#include <gtest/gtest.h>

#include <string>

#include "response/parser_state.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::SessionFixture;

void Feed(SessionFixture& f, std::string block) {
    ShowData(f.s, f.term, block);
}

// (name, the box before, the block, the box after, what is logged)
TEST(DisplayStep, ShowsTheEditedBlockAndLogsIt) {
    const struct {
        const char* name;
        std::string before, block, after, logged;
    } cases[] = {
        {"BackspaceTakesThePreviousCharacter", "", "AB\bC", "AC", "AC"},
        // clang-format off
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
        // clang-format on
        {"EditsTogether", "xyz", "\bAB\bC\nD\r", "xyACD\r\n", "ACD\r\n"},
    };
    for (const auto& c : cases) {
        SessionFixture f;
        f.host.logOpen = true;
        f.term.text = c.before;
        Feed(f, c.block);
        EXPECT_EQ(f.term.text, c.after) << c.name;
        EXPECT_EQ(f.term.selStart, static_cast<long long>(c.after.size())) << c.name;  // caret
        EXPECT_EQ(f.host.log, c.logged) << c.name;
    }
}

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

TEST(CalibrateStep, RestoresTheButtonAfterTheCalibrationAnswer) {
    const struct {
        bool pending;
        char commandKey;
        const char* block;
        bool restored;
    } cases[] = {{true, 'c', "Cal DONE\r\n", true},
                 {true, 'R', "ok\r\n", true},  // stopped by "R"
                 {true, 'c', "busy\r\n", false},
                 // The shown text decides: a "D" taken back by a backspace does not count.
                 {true, 'c', "D\bok\r\n", false},
                 {false, 'c', "DONE\r\n", false}};
    for (const auto& c : cases) {
        SessionFixture f;
        f.s.SaveColor = {240, 240, 240};
        f.s.cmdCalibrate.face = {250, 100, 100};
        f.s.cmdCalibrate.enabled = false;
        f.s.CalibrationPending = c.pending;
        f.s.CommandKey = static_cast<unsigned char>(c.commandKey);
        Feed(f, c.block);
        EXPECT_EQ(f.s.cmdCalibrate.enabled, c.restored) << c.block;
        EXPECT_EQ(f.s.cmdCalibrate.face == f.s.SaveColor, c.restored) << c.block;
        EXPECT_EQ(f.s.CalibrationPending, c.pending && !c.restored) << c.block;
    }
}

TEST(CalibrateStepSkip, NotRunWhileTheDisplayIsSuppressed) {
    SessionFixture f;
    f.s.CalibrationPending = true;
    f.s.CommandKey = 'H';
    f.s.parser.AnswerLen = 200;
    Feed(f, "DONE");
    EXPECT_TRUE(f.s.CalibrationPending);
}

// ---- logging step ----

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
    EXPECT_EQ(f.asker.asked[0].text, "Disk full");
    EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::RetryCancel);
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
