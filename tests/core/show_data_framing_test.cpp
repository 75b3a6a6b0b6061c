// The dispatcher's framing of the data graphs "D", "F", "y" and "[": answers split at every
// position, the word count check, misplaced terminators, the final length check, the wait for the
// line end and the block limit with its three answers. Whole answers and what the terminal shows
// of them: the CLI's expected reports (tests/cli).
#include <gtest/gtest.h>

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
    const std::pair<const char*, bool> cases[] = {
        {"0512", true},  {"1024", true},  {"2048", true},  {"4096", true},  {" 512", true},
        {"512x", true},  {"5 12", true},  {"0300", false}, {"0000", false}, {"8192", false},
        {"-512", false}, {"&H20", false}, {"2O48", false}, {"abcd", false}};
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

TEST(BlockLimitCount, LastAllowedBlockPassesAndANewAnswerCountsAfresh) {
    SessionFixture f;
    Send(f, 'D');
    f.s.parser.GraphState = kWaitHeader;
    f.s.parser.ChunkCount = kMaxChunks - 1;
    Feed(f, "x");
    EXPECT_EQ(f.s.parser.ChunkCount, kMaxChunks);
    EXPECT_TRUE(f.asker.asked.empty());

    SessionFixture g;
    Send(g, 'D');
    g.s.parser.ChunkCount = kMaxChunks;  // left from an earlier answer
    Feed(g, "x");
    EXPECT_EQ(g.s.parser.ChunkCount, 1);
    EXPECT_TRUE(g.asker.asked.empty());
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

}  // namespace
}  // namespace sondix
