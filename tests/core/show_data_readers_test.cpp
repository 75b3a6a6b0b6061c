// The text readers of the dispatcher: the parameter listing "P", the timer "T", the logo "L",
// the results stream "{" with its stop "}", the spectrum stream's stop "]", the history
// hand-over "H" and commands without a reader.
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

void Send(SessionFixture& f, char key) {
    f.s.CommandKey = static_cast<unsigned char>(key);
}

// A listing whose terminator stands at position `terminatorAt` (1-based).
std::string Listing(std::size_t terminatorAt) {
    std::string text = "SerNum  =1234\r\nUnits   =2\r\nQuality =   45\r\n";
    while (text.size() + 1 < terminatorAt)
        text += "x";
    return text + "  ***  \r\n";
}

TEST(ListingReader, ReadsTheListingOnlyWithALateTerminator) {
    for (const auto& [terminatorAt, read] :
         {std::pair<std::size_t, bool>{100, false}, {219, false}, {220, true}, {900, true}}) {
        SessionFixture f;
        Send(f, 'P');
        Feed(f, Listing(terminatorAt));
        EXPECT_EQ(f.s.mirror.SerNum == 1234.0f, read) << terminatorAt;
        EXPECT_EQ(f.s.mirror.Units == 2.0f, read) << terminatorAt;
        EXPECT_EQ(f.s.res.ResultSignal == 45, read) << terminatorAt;
    }
}

TEST(ListingReaderRepeat, EveryLaterBlockReadsTheListingAgain) {
    SessionFixture f;
    Send(f, 'P');
    const std::string listing = Listing(300);
    Feed(f, listing.substr(0, 150));
    EXPECT_EQ(f.s.mirror.SerNum, 0.0f);
    Feed(f, listing.substr(150));
    EXPECT_EQ(f.s.mirror.SerNum, 1234.0f);
    f.s.mirror.SerNum = 0;
    Feed(f, "\r\n");
    EXPECT_EQ(f.s.mirror.SerNum, 1234.0f);
}

// The listing, the logo and the timer collect up to their limit; every block is shown.
TEST(TextReaders, CollectUpToTheirLimitAndShowEverything) {
    for (const auto& [key, limit] :
         {std::pair<char, std::int32_t>{'P', 4000}, {'L', 500}, {'T', 500}}) {
        SessionFixture f;
        Send(f, key);
        f.s.parser.AnswerLen = limit - 1;
        Feed(f, "ab");
        Feed(f, "cd");
        EXPECT_EQ(f.s.parser.AnswerText, "ab") << key;
        EXPECT_EQ(f.s.parser.AnswerLen, limit + 1) << key;
        EXPECT_EQ(f.term.text, "abcd") << key;
    }
}

// The timer answer is read once a CR stands at position 4 or later, in this block or a later one.
TEST(TimerReader, NeedsACrAtPositionFourOrLater) {
    const std::pair<const char*, bool> cases[] = {{"ab\rTimer=     988773", false},
                                                  {"abc\rTimer=     988773", true},
                                                  {"Timer=     988773", false},
                                                  {"Timer=     988773\r", true}};
    for (const auto& [text, read] : cases) {
        SessionFixture f;
        Send(f, 'T');
        Feed(f, text);
        EXPECT_EQ(f.s.res.UnitTimeDays > 0.99, read) << text;
    }
    SessionFixture f;
    Send(f, 'T');
    Feed(f, "\rTimer=     988773");
    EXPECT_EQ(f.s.res.UnitTimeDays, 0);
    Feed(f, "\r\n");
    EXPECT_GT(f.s.res.UnitTimeDays, 0.99);
    EXPECT_LT(f.s.res.UnitTimeDays, 1.0);
}

// ---- results stream ----

struct ResultsCase {
    const char* name;
    std::vector<std::string> blocks;
    int lines;  // results window updates
};

class ResultsStream : public ::testing::TestWithParam<ResultsCase> {};

TEST_P(ResultsStream, OneUpdatePerCompleteLine) {
    SessionFixture f;
    f.s.ResultDisp_Loaded = true;
    Send(f, '{');
    for (const std::string& b : GetParam().blocks)
        Feed(f, b);
    EXPECT_EQ(f.host.resultsUpdates, GetParam().lines);
    EXPECT_EQ(f.s.parser.AutoResults_status, kWaitHeader);
    EXPECT_TRUE(f.asker.asked.empty());
}

const ResultsCase kResultsCases[] = {
    {"OneLine", {"Vel=  12.5 S=45\r\n"}, 1},
    {"LineInPieces", {"Vel=  1", "2.5 S=4", "5\r", "\n"}, 1},
    {"LeadingCrLfIsSkipped", {"\r\nVel=  12.5 S=45\r\n"}, 1},
    {"LeftoverLfIsSkipped", {"Vel=  12.5 S=45\r", "\n", "Vel=  12.6 S=45\r", "\nVel= 1"}, 2},
    {"StrayLineEndsThenLines", {"\r\n", "\r\n\r\n", "Vel= 1 S=45\r\n", "Vel= 2 S=45\r\n"}, 2},
    // What follows a line's CR LF in the same text is the next line.
    {"SecondLineInTheSameBlockIsRead", {"Vel= 1 S=45\r\nVel= 2 S=45\r\n"}, 2},
};

INSTANTIATE_TEST_SUITE_P(Blocks, ResultsStream, ::testing::ValuesIn(kResultsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsStreamStart, DisablesCalibrateAndStopsWithoutTheWindow) {
    SessionFixture f;
    f.s.cmdCalibrate.enabled = true;
    Send(f, '{');
    Feed(f, "Vel= 1");
    EXPECT_FALSE(f.s.cmdCalibrate.enabled);
    EXPECT_EQ(f.s.parser.AutoResults_status, kWaitHeader);
    Feed(f, " S=45\r\n");  // the results window is not loaded
    EXPECT_EQ(f.s.parser.AutoResults_status, kIdle);
    EXPECT_EQ(f.host.resultsUpdates, 0);
}

TEST(ResultsStreamStop, StopResetsTheStreamAndEnablesCalibrate) {
    SessionFixture f;
    f.s.ResultDisp_Loaded = true;
    Send(f, '{');
    Feed(f, "Vel= 1");
    Send(f, '}');
    Feed(f, "}");
    EXPECT_EQ(f.s.parser.AutoResults_status, kIdle);
    EXPECT_EQ(f.s.parser.AnswerText, "");
    EXPECT_EQ(f.s.parser.AnswerLen, 0);
    EXPECT_TRUE(f.s.cmdCalibrate.enabled);
    EXPECT_EQ(f.term.text, "Vel= 1}");
}

TEST(SpectrumStreamStop, StopClearsStatisticsAndTexts) {
    SessionFixture f;
    Send(f, ']');
    f.s.parser.AutoSpect_status = kReceiving;
    f.s.parser.AnswerText = "123";
    f.s.parser.HeaderText = "h";
    f.s.parser.TrailerText = "t";
    f.s.parser.AnswerLen = 3;
    f.s.stats.StatCount = 5;
    f.s.stats.StatSum = 10;
    Feed(f, "]");
    EXPECT_EQ(f.s.parser.AutoSpect_status, kIdle);
    EXPECT_EQ(f.s.parser.AnswerText + f.s.parser.HeaderText + f.s.parser.TrailerText, "");
    EXPECT_EQ(f.s.parser.AnswerLen, 0);
    EXPECT_EQ(f.s.stats.StatCount, 0);
    EXPECT_EQ(f.s.stats.StatSum, 0);
    EXPECT_TRUE(f.s.cmdCalibrate.enabled);
}

// ---- history hand-over and other commands ----

// The history transfer counts each block once more itself and restarts the count with a new
// answer too, so only what holds either way is checked here.
TEST(HistoryReader, CountsBlocksFromTheStartOfAnAnswer) {
    SessionFixture f;
    Send(f, 'H');
    f.s.parser.ChunkCount = 77;
    Feed(f, "unit 1\r\n");
    EXPECT_EQ(f.s.parser.ChunkCount, 1);  // the transfer was idle: a new answer
    f.s.parser.GraphState = kWaitHeader;  // the transfer has started its answer
    f.s.parser.ChunkCount = 5;
    Feed(f, "more\r\n");
    EXPECT_GE(f.s.parser.ChunkCount, 6);  // counted on, not restarted
    EXPECT_EQ(f.term.text, "unit 1\r\nmore\r\n");
}

class NoReader : public ::testing::TestWithParam<int> {};

TEST_P(NoReader, OnlyShowsAndLogs) {
    SessionFixture f;
    f.host.logOpen = true;
    f.s.CommandKey = static_cast<std::int16_t>(GetParam());
    Feed(f, "NWORDS=0512 \r\n  ***  \r\n");
    EXPECT_EQ(f.s.parser.AnswerText, "");
    EXPECT_EQ(f.s.parser.GraphState, kIdle);
    EXPECT_EQ(f.s.parser.ChunkCount, 0);
    EXPECT_EQ(f.term.text, "NWORDS=0512 \r\n  ***  \r\n");
    EXPECT_EQ(f.host.log, "NWORDS=0512 \r\n  ***  \r\n");
    EXPECT_TRUE(f.asker.asked.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, NoReader, ::testing::Values(0, 'R', 'E', 'd', 'f', 'x', 'D' + 256));

}  // namespace
}  // namespace sondix
