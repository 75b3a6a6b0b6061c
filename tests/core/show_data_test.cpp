// ShowData, fed block by block on the headless fakes: the framing of the data graphs (answers
// split at every position, the word count, the terminator, the final length, the line end, the
// block limit), the text readers, the display, calibrate and logging steps, and the error path.
// Whole answers and what the terminal shows of them: the CLI's expected reports (tests/cli).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "graph_answer.h"
#include "response/dispatch_steps.h"
#include "response/parser_state.h"
#include "response/show_data.h"
#include "session_fixture.h"

namespace sondix {
namespace {

using test::SessionFixture;

struct GraphKind {
    char key;
    int width;  // characters per word
    int k;      // terminator offset
};

constexpr GraphKind kKinds[] = {{'D', 4, 3}, {'F', 3, 2}, {'y', 4, 3}, {'[', 3, 2}};

std::string Name(char key) {
    return key == '[' ? "Stream" : key == '{' ? "Results" : std::string(1, key);
}

std::vector<int> Words(int n) {
    std::vector<int> w(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        w[static_cast<std::size_t>(i)] = (i * 13) % 900;
    return w;
}

std::string Header(char key, int nwords) {
    if (key == 'F' || key == '[') {
        return "Vel =  123.45 S= 45 f = 1234.567\r\n" +
               test::SpectrumLabelLine(nwords, 1, 3680, 2000, 512);
    }
    return "Timer=     988773\r\nSampleT = 20000\r\n" +
           test::TimeHeaderLine(nwords, 1, 3680, 20000);
}

// An answer announcing `nwords` words that carries `sent` of them (all when negative).
std::string Answer(const GraphKind& kind, int nwords, int sent = -1) {
    return test::GraphAnswer(Header(kind.key, nwords), Words(sent < 0 ? nwords : sent), kind.width,
                             kind.k);
}

void Feed(SessionFixture& f, std::string block) {
    ShowData(f.s, f.term, block);
}

void Send(SessionFixture& f, char key) {
    f.s.CommandKey = static_cast<unsigned char>(key);
}

std::int16_t StateOf(const SessionFixture& f, char key) {
    return key == '[' ? f.s.parser.AutoSpect_status : f.s.parser.GraphState;
}

// Where a reader rests after a finished answer: idle, or waiting for the stream's next one.
std::int16_t RestState(char key) {
    return key == '[' ? kWaitHeader : kIdle;
}

// The line end after the terminator, when it comes in a block of its own, already starts the
// next answer of the pending command.
bool Resting(const SessionFixture& f, char key) {
    const std::int16_t state = StateOf(f, key);
    return state == RestState(key) || state == kWaitHeader;
}

// A CR LF split so that the CR arrives while the words are hidden and the LF in a shown block
// loses the LF in the log (the log gets what the terminal shows).
std::string WithoutLf(std::string text) {
    std::erase(text, '\n');
    return text;
}

std::string Texts(const SessionFixture& f) {
    std::string out;
    for (const AskedMessage& m : f.asker.asked)
        out += m.title + ": " + m.text + "\n";
    return out;
}

class GraphFraming : public ::testing::TestWithParam<GraphKind> {};

// The word count is read only once two characters follow its four digits.
TEST_P(GraphFraming, WordCountIsReadOnlyWithTwoCharactersAfterIt) {
    const GraphKind kind = GetParam();
    SessionFixture f;
    Send(f, kind.key);
    Feed(f, "NWORDS=0300");
    Feed(f, " ");
    EXPECT_TRUE(f.asker.asked.empty());
    EXPECT_EQ(StateOf(f, kind.key), kWaitHeader);
    Feed(f, " ");
    EXPECT_EQ(Texts(f), "Graph error: Data graph - invalid NWORDS value\n");
    EXPECT_EQ(StateOf(f, kind.key), kFault);
}

// Split in two at every position, and in blocks of a few sizes.
TEST_P(GraphFraming, AnswerSplitAnywhereIsChartedOnce) {
    const GraphKind kind = GetParam();
    const std::string answer = Answer(kind, 512);
    const auto charted = [&](const std::vector<std::string>& blocks) {
        SessionFixture f;
        f.host.logOpen = true;
        Send(f, kind.key);
        for (const std::string& b : blocks)
            Feed(f, b);
        ASSERT_EQ(Texts(f), "");
        ASSERT_EQ(f.host.graphShows, 1);
        ASSERT_TRUE(Resting(f, kind.key));
        ASSERT_EQ(WithoutLf(f.host.log), WithoutLf(answer));
    };
    for (std::size_t at = 1; at < answer.size(); ++at) {
        SCOPED_TRACE("split at " + std::to_string(at));
        charted({answer.substr(0, at), answer.substr(at)});
    }
    for (const std::size_t size : {1U, 2U, 7U, 64U, 333U}) {
        SCOPED_TRACE("blocks of " + std::to_string(size));
        std::vector<std::string> blocks;
        for (std::size_t at = 0; at < answer.size(); at += size)
            blocks.push_back(answer.substr(at, size));
        charted(blocks);
    }
}

// The header's CR LF and one character of the first word in one block, the rest in the next:
// that character must stay with the words.
TEST_P(GraphFraming, BlockEndingOneCharacterIntoTheData) {
    const GraphKind kind = GetParam();
    SessionFixture f;
    Send(f, kind.key);
    const std::string header = Header(kind.key, 512);
    const std::string answer = Answer(kind, 512);
    Feed(f, answer.substr(0, header.size() + 1));
    EXPECT_EQ(StateOf(f, kind.key), kReceiving);
    EXPECT_EQ(f.s.parser.AnswerText, answer.substr(header.size(), 1));
    Feed(f, answer.substr(header.size() + 1));
    EXPECT_EQ(Texts(f), "");
    EXPECT_EQ(f.host.graphShows, 1);
}

TEST_P(GraphFraming, MisplacedTerminatorAbandonsTheAnswer) {
    const GraphKind kind = GetParam();
    for (const int sent : {511, 513}) {
        SCOPED_TRACE(sent);
        SessionFixture f;
        Send(f, kind.key);
        Feed(f, Answer(kind, 512, sent));
        EXPECT_EQ(Texts(f), "Graph error: Invalid transfer length: not equal NWORDS\n");
        EXPECT_EQ(StateOf(f, kind.key), kFault);
        EXPECT_EQ(f.s.CommandKey, 0);
        EXPECT_EQ(f.host.graphShows, 0);
    }
}

// 4096 words pass the header check but cannot be charted; the stream skips them silently.
TEST_P(GraphFraming, FourThousandWordsFailTheFinalCheck) {
    const GraphKind kind = GetParam();
    SessionFixture f;
    Send(f, kind.key);
    Feed(f, Answer(kind, 4096));
    EXPECT_EQ(f.host.graphShows, 0);
    EXPECT_EQ(StateOf(f, kind.key), RestState(kind.key));
    EXPECT_EQ(f.s.parser.AnswerText, "");
    const bool stream = kind.key == '[';
    EXPECT_EQ(Texts(f), stream ? "" : "Graph error: Invalid data length\n");
    EXPECT_EQ(f.s.CommandKey, stream ? '[' : 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, GraphFraming, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return Name(info.param.key); });

// The four characters after "NWORDS=" are read as a number, not as digits.
TEST(WordCountField, OnlyTheFourCountsPass) {
    // Blanks inside a number are skipped; "&H20" is hexadecimal 32.
    const std::pair<const char*, bool> cases[] = {{"0512", true},  {"4096", true},  {" 512", true},
                                                  {"5 12", true},  {"0300", false}, {"8192", false},
                                                  {"-512", false}, {"&H20", false}};
    for (const auto& [field, valid] : cases) {
        SessionFixture f;
        Send(f, 'D');
        Feed(f, std::string("NWORDS=") + field + " 001 3680 020000            \r\n0123");
        EXPECT_EQ(Texts(f), valid ? "" : "Graph error: Data graph - invalid NWORDS value\n")
            << field;
        EXPECT_EQ(f.s.parser.GraphState, valid ? kReceiving : kFault) << field;
    }
}

// Where the terminator of each kind must stand in the data text.
TEST(TerminatorPosition, FollowsTheWordCount) {
    struct Case {
        int nwords;
        char key;
        long long position;
    };
    const Case cases[] = {{512, 'D', 2115},   {512, 'y', 2115},  {512, 'F', 1602},
                          {512, '[', 1602},   {1024, 'D', 4227}, {2048, 'F', 6402},
                          {4096, 'y', 16899}, {4096, '[', 12802}};
    for (const Case& c : cases)
        EXPECT_EQ(dispatch::ExpectedTerminatorPos(c.nwords, c.key), c.position)
            << c.nwords << " " << c.key;
}

// The trailer is what follows the first H + 9 characters of the data text.
TEST(TrailerText, FollowsTheFirstHPlusNineCharacters) {
    const std::string data = "0123456789abcdef";  // 16 characters
    EXPECT_EQ(dispatch::TrailerAfterHeader(data, 0), "9abcdef");
    EXPECT_EQ(dispatch::TrailerAfterHeader(data, 5), "ef");
    EXPECT_EQ(dispatch::TrailerAfterHeader(data, 6), "f");
    EXPECT_EQ(dispatch::TrailerAfterHeader(data, 7), "");  // H + 9 reaches the end
    EXPECT_EQ(dispatch::TrailerAfterHeader(data, 100), "");
}

// The search restarts 8 characters before the new block, never before the first character.
TEST(TerminatorSearch, StartsEightCharactersBeforeTheBlock) {
    EXPECT_EQ(dispatch::TerminatorSearchStart(100, 20), 72);
    EXPECT_EQ(dispatch::TerminatorSearchStart(29, 20), 1);
    EXPECT_EQ(dispatch::TerminatorSearchStart(28, 20), 1);
    EXPECT_EQ(dispatch::TerminatorSearchStart(5, 20), 1);
}

// With no line end among the words, the reader waits in state 3 for the one after the
// terminator.
TEST(GraphTrailer, WaitsForTheLineEndAfterTheTerminator) {
    SessionFixture f;
    Send(f, 'D');
    std::string words = test::WordLines(Words(512), 4);
    for (std::size_t at = words.find("\r\n"); at != std::string::npos; at = words.find("\r\n"))
        words.replace(at, 2, "  ");
    const std::string body = Header('D', 512) + words + "  " + "  ***  ";
    Feed(f, body);
    EXPECT_EQ(f.s.parser.GraphState, kComplete);
    EXPECT_EQ(f.host.graphShows, 0);
    Feed(f, "\r");
    EXPECT_EQ(f.s.parser.GraphState, kComplete);
    Feed(f, "\n");
    EXPECT_EQ(f.s.parser.GraphState, kIdle);
    EXPECT_EQ(f.host.graphShows, 1);
    EXPECT_EQ(Texts(f), "");
}

// ---- stream ----

TEST(SpectrumStream, RunsSpectrumAfterSpectrumUntilStopped) {
    SessionFixture f;
    f.s.cmdCalibrate.enabled = true;
    f.s.stats.StatCount = 7;
    Send(f, '[');
    const std::string answer = Answer(kKinds[3], 512);
    Feed(f, answer.substr(0, 10));
    EXPECT_FALSE(f.s.cmdCalibrate.enabled);
    EXPECT_EQ(f.s.stats.StatCount, 0);  // a new stream starts new statistics
    Feed(f, answer.substr(10));
    for (int i = 0; i < 3; ++i)
        Feed(f, answer);
    EXPECT_EQ(f.host.graphShows, 4);
    EXPECT_EQ(f.s.parser.AutoSpect_status, kWaitHeader);
    EXPECT_EQ(f.s.parser.ChunkCount, 0);
    Send(f, ']');
    Feed(f, "]\r\n");
    EXPECT_EQ(f.s.parser.AutoSpect_status, kIdle);
    EXPECT_TRUE(f.s.cmdCalibrate.enabled);
    EXPECT_EQ(f.s.stats.StatCount, 0);
    EXPECT_EQ(Texts(f), "");
}

// ---- block limit ----

std::int16_t& LimitState(SessionFixture& f, char key) {
    if (key == '[') return f.s.parser.AutoSpect_status;
    if (key == '{') return f.s.parser.AutoResults_status;
    return f.s.parser.GraphState;
}

// Abort ends the program and leaves the port to it; Retry closes the port and opens it again.
TEST(BlockLimit, TooManyBlocksAskWhatToDo) {
    for (const char key : {'D', 'F', '[', '{', 'y'}) {
        for (const MsgAnswer answer : {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore}) {
            SessionFixture f;
            Send(f, key);
            LimitState(f, key) = kWaitHeader;
            f.s.parser.ChunkCount = kMaxChunks;
            f.asker.answers.push_back(answer);
            Feed(f, "x");
            SCOPED_TRACE(std::string(1, key) + " " + std::to_string(static_cast<int>(answer)));
            EXPECT_EQ(Texts(f),
                      "D-command fault: Data transfer too longClick Abort(exit prog), "
                      "Retry(stop cmd & rst port) or Ignore(stop cmd)\n");
            EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::AbortRetryIgnore);
            EXPECT_EQ(LimitState(f, key), kFault);
            EXPECT_EQ(f.s.CommandKey, 0);
            EXPECT_EQ(f.s.parser.AnswerText, "");  // the block is not taken any more
            const bool abort = answer == MsgAnswer::Abort;
            const bool retry = answer == MsgAnswer::Retry;
            EXPECT_EQ(f.host.endProgram, abort ? 1 : 0);
            EXPECT_EQ(f.s.PortCloseAllowed, !abort);
            EXPECT_EQ(f.port.closes, retry ? 1 : 0);
            EXPECT_EQ(f.port.opens, retry ? 1 : 0);
            EXPECT_TRUE(f.port.open);
        }
    }
}

TEST(BlockLimit, RetryReopensAPortThatIsAlreadyClosed) {
    // The device went away while the answer grew: Retry must not leave the port closed.
    SessionFixture f;
    Send(f, 'D');
    f.s.parser.GraphState = kWaitHeader;
    f.s.parser.ChunkCount = kMaxChunks;
    f.port.open = false;
    f.asker.answers.push_back(MsgAnswer::Retry);
    Feed(f, "x");
    EXPECT_TRUE(f.port.open);
    EXPECT_EQ(f.port.opens, 1);
}

TEST(BlockLimitCount, LastAllowedBlockPasses) {
    SessionFixture f;
    Send(f, 'D');
    f.s.parser.GraphState = kWaitHeader;
    f.s.parser.ChunkCount = kMaxChunks - 1;
    Feed(f, "x");
    EXPECT_EQ(f.s.parser.ChunkCount, kMaxChunks);
    EXPECT_TRUE(f.asker.asked.empty());
}

// A stream that runs for hours: every spectrum counts its own blocks.
TEST(BlockLimitCount, SpectrumStreamCountsPerSpectrum) {
    SessionFixture f;
    Send(f, '[');
    f.s.parser.AutoSpect_status = kWaitHeader;
    f.s.parser.ChunkCount = kMaxChunks - 1;
    const std::string answer = Answer(kKinds[3], 512);
    Feed(f, answer);
    EXPECT_EQ(f.s.parser.ChunkCount, 0);
    Feed(f, answer.substr(0, 1000));
    Feed(f, answer.substr(1000));
    EXPECT_EQ(f.host.graphShows, 2);
    EXPECT_TRUE(f.asker.asked.empty());
}

TEST(BlockLimitCount, ResultsStreamCountsPerLine) {
    SessionFixture f;
    f.s.ResultDisp_Loaded = true;
    Send(f, '{');
    f.s.parser.AutoResults_status = kWaitHeader;
    f.s.parser.ChunkCount = kMaxChunks - 1;
    Feed(f, "Vel=  12.5 S=45\r\n");
    EXPECT_EQ(f.s.parser.ChunkCount, 0);
    Feed(f, "Vel=  12.");
    Feed(f, "6 S=45\r\n");
    EXPECT_EQ(f.host.resultsUpdates, 2);
    EXPECT_TRUE(f.asker.asked.empty());
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
}

// ---- results stream ----

// One results window update per complete line, whatever the blocks.
TEST(ResultsStream, OneUpdatePerCompleteLine) {
    const struct {
        const char* name;
        std::vector<std::string> blocks;
        int lines;
    } cases[] = {
        {"OneLine", {"Vel=  12.5 S=45\r\n"}, 1},
        {"LineInPieces", {"Vel=  1", "2.5 S=4", "5\r", "\n"}, 1},
        {"LeadingCrLfIsSkipped", {"\r\nVel=  12.5 S=45\r\n"}, 1},
        {"LeftoverLfIsSkipped", {"Vel=  12.5 S=45\r", "\n", "Vel=  12.6 S=45\r", "\nVel= 1"}, 2},
        {"StrayLineEndsThenLines", {"\r\n", "\r\n\r\n", "Vel= 1 S=45\r\n", "Vel= 2 S=45\r\n"}, 2},
        // What follows a line's CR LF in the same text is the next line.
        {"SecondLineInTheSameBlockIsRead", {"Vel= 1 S=45\r\nVel= 2 S=45\r\n"}, 2},
    };
    for (const auto& c : cases) {
        SessionFixture f;
        f.s.ResultDisp_Loaded = true;
        Send(f, '{');
        for (const std::string& b : c.blocks)
            Feed(f, b);
        EXPECT_EQ(f.host.resultsUpdates, c.lines) << c.name;
        EXPECT_EQ(f.s.parser.AutoResults_status, kWaitHeader) << c.name;
        EXPECT_TRUE(f.asker.asked.empty()) << c.name;
    }
}

// ---- history hand-over and other commands ----

// (name, the box before, the block, the box after, what is logged)
TEST(DisplayStep, ShowsTheEditedBlockAndLogsIt) {
    const struct {
        const char* name;
        std::string before, block, after, logged;
    } cases[] = {
        {"BackspaceTakesThePreviousCharacter", "", "AB\bC", "AC", "AC"},
        // clang-format off
    {"LeadingBackspaceTakesTheBoxsLastCharacter", "xyz", "\bQ", "xyQ", "Q"},
    {"LeadingBackspaceOnAnEmptyBoxIsDropped", "", "\bQ", "Q", "Q"},
    {"BackspaceAfterConsumedTextReachesTheBox", "xy", "A\b\bQ", "xQ", "Q"},
    {"LoneCrGetsItsLf", "", "a\rb\r", "a\r\nb\r\n", "a\r\nb\r\n"},
    {"LfCrBecomesCrLf", "", "a\n\rb", "a\r\nb", "a\r\nb"},
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
    f.s.parser.GraphState = kWaitHeader;  // a history answer is arriving
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

// The window's box refuses a caret before its first character, as the Qt box does: a leading
// backspace on an empty box must not ask for one.
class StrictTextBox : public StringTextBox {
  public:
    void SetSelStart(long long pos) override {
        if (pos < 0) throw std::out_of_range("caret before the text");
        StringTextBox::SetSelStart(pos);
    }
};

TEST(DisplayStep, LeadingBackspaceOnAnEmptyBoxAsksForNoCaretBeforeTheText) {
    SessionFixture f;
    StrictTextBox box;
    std::string block = "\bQ";
    ShowData(f.s, box, block);
    EXPECT_TRUE(f.asker.asked.empty());
    EXPECT_EQ(box.text, "Q");
}

}  // namespace
}  // namespace sondix
