// ShowData, fed block by block on the headless fakes: the framing of the data graphs (answers
// split at every position, the word count, the terminator, the final length, the line end, the
// block limit), the text readers, the display, calibrate and logging steps, the error path, the
// order of blocks that arrive under a box, and the progress in the status panel.
// Whole answers and what the terminal shows of them: the CLI's expected reports (tests/cli).
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core_support.h"
#include "graph_answer.h"
#include "response/dispatch_steps.h"
#include "response/parser_state.h"
#include "scenario.h"

namespace sondix {
namespace {

using test::Boxes;
using test::Feed;
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

using A = MsgAnswer;

class GraphFraming : public ::testing::TestWithParam<GraphKind> {};

// The word count is read only once two characters follow its four digits; a word too few or too
// many puts the terminator off its place; 4096 words pass the header check but cannot be charted
// (the stream skips them silently).
TEST_P(GraphFraming, WordCountTerminatorAndFinalLength) {
    const GraphKind kind = GetParam();
    const bool stream = kind.key == '[';
    SessionFixture f;
    Send(f, kind.key);
    Feed(f, "NWORDS=0300");
    Feed(f, " ");
    EXPECT_EQ(Boxes(f) + std::to_string(StateOf(f, kind.key)), "1");
    Feed(f, " ");
    EXPECT_EQ(Boxes(f), "Graph error: Data graph - invalid NWORDS value\n");
    EXPECT_EQ(StateOf(f, kind.key), kFault);
    for (const int sent : {511, 513}) {
        SessionFixture g;
        Send(g, kind.key);
        Feed(g, Answer(kind, 512, sent));
        EXPECT_EQ(Boxes(g), "Graph error: Invalid transfer length: not equal NWORDS\n") << sent;
        EXPECT_EQ(StateOf(g, kind.key), kFault);
        EXPECT_EQ(g.s.CommandKey + g.host.graphShows, 0);
    }
    SessionFixture big;
    Send(big, kind.key);
    Feed(big, Answer(kind, 4096));
    EXPECT_EQ(big.host.graphShows, 0);
    EXPECT_EQ(StateOf(big, kind.key), RestState(kind.key));
    EXPECT_EQ(big.s.parser.AnswerText, "");
    EXPECT_EQ(Boxes(big), stream ? "" : "Graph error: Invalid data length\n");
    EXPECT_EQ(big.s.CommandKey, stream ? '[' : 0);
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
        ASSERT_EQ(Boxes(f), "");
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

INSTANTIATE_TEST_SUITE_P(Kinds, GraphFraming, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return Name(info.param.key); });

// The four characters after "NWORDS=" are read as a number, not as digits: blanks inside a
// number are skipped; "&H20" is hexadecimal 32.
TEST(WordCountField, OnlyTheFourCountsPass) {
    const std::pair<const char*, bool> cases[] = {{"0512", true},  {"4096", true},  {" 512", true},
                                                  {"5 12", true},  {"0300", false}, {"8192", false},
                                                  {"-512", false}, {"&H20", false}};
    for (const auto& [field, valid] : cases) {
        SessionFixture f;
        Send(f, 'D');
        Feed(f, std::string("NWORDS=") + field + " 001 3680 020000            \r\n0123");
        EXPECT_EQ(f.s.parser.GraphState, valid ? kReceiving : kFault) << field;
    }
}

// The trailer is what follows the first H + 9 characters of the data text; the terminator search
// restarts 8 characters before the new block, never before the first character.
TEST(DispatchSteps, TrailerAndTerminatorSearch) {
    const std::string data = "0123456789abcdef";
    for (const auto& [h, trailer] :
         {std::pair{0, "9abcdef"}, {5, "ef"}, {6, "f"}, {7, ""}, {100, ""}})
        EXPECT_EQ(dispatch::TrailerAfterHeader(data, h), trailer) << h;
    for (const auto& [len, start] : {std::pair{100, 72}, {29, 1}, {28, 1}, {5, 1}})
        EXPECT_EQ(dispatch::TerminatorSearchStart(len, 20), start) << len;
}

// With no line end among the words, the reader waits in state 3 for the one after the
// terminator.
TEST(GraphTrailer, WaitsForTheLineEndAfterTheTerminator) {
    SessionFixture f;
    Send(f, 'D');
    std::string words = test::WordLines(Words(512), 4);
    for (std::size_t at = words.find("\r\n"); at != std::string::npos; at = words.find("\r\n"))
        words.replace(at, 2, "  ");
    Feed(f, Header('D', 512) + words + "    ***  ");
    Feed(f, "\r");
    EXPECT_EQ(f.s.parser.GraphState * 10 + f.host.graphShows, 30);
    Feed(f, "\n");
    EXPECT_EQ(f.s.parser.GraphState * 10 + f.host.graphShows, 1);
    EXPECT_EQ(Boxes(f), "");
}

// A new stream starts new statistics and disables calibration until "]" ends it; every spectrum
// counts its own blocks (a stream runs for hours), the chart keeps its fixed volts.
TEST(SpectrumStream, RunsSpectrumAfterSpectrumUntilStopped) {
    SessionFixture f;
    f.s.cmdCalibrate.enabled = true;
    f.s.stats.StatCount = 7;
    Send(f, '[');
    const std::string answer = Answer(kKinds[3], 512);
    Feed(f, answer.substr(0, 10));
    EXPECT_FALSE(f.s.cmdCalibrate.enabled);
    EXPECT_EQ(f.s.stats.StatCount, 0);
    f.s.parser.ChunkCount = kMaxChunks - 1;
    Feed(f, answer.substr(10));
    EXPECT_EQ(f.s.parser.ChunkCount, 0);
    for (int i = 0; i < 3; ++i)
        Feed(f, answer);
    EXPECT_EQ(f.host.graphShows, 4);
    EXPECT_EQ(f.s.parser.AutoSpect_status, kWaitHeader);
    Send(f, ']');
    Feed(f, "]\r\n");
    EXPECT_EQ(f.s.parser.AutoSpect_status, kIdle);
    EXPECT_TRUE(f.s.cmdCalibrate.enabled);
    EXPECT_EQ(Boxes(f), "");
}

// The spectrum charts' y axis stays at -0.5 ... 4.0 V with 9 divisions, through a stream too.
TEST(SpectrumStream, TheYAxisKeepsItsFixedVolts) {
    for (const auto& [key, file] :
         {std::pair{'F', "F_spectrum.cap"}, {'[', "stream_spectra.cap"}}) {
        SessionFixture f;
        int charts = 0;
        f.host.onShowGraph = [&] {
            ++charts;
            const auto& y = f.s.graph.yAxis;
            EXPECT_TRUE(!f.s.graph.yAxisAuto && y.min == -0.5 && y.max == 4.0 && y.major == 9);
        };
        Send(f, key);
        Feed(f, test::Capture(file));
        EXPECT_EQ(charts, key == 'F' ? 1 : 2);
    }
}

// The last allowed block passes; one more asks: Abort ends the program and leaves the port to
// it; Retry closes the port and opens it again (also when the device had closed it); the block is
// not taken any more, and the reader and the pending command are reset.
TEST(BlockLimit, TooManyBlocksAskWhatToDo) {
    const std::string kAsked =
        "D-command fault: Data transfer too longClick Abort(exit prog), Retry(stop cmd & rst port) "
        "or Ignore(stop cmd)\n";
    for (const auto& [key, state] : {std::pair{"D", "gstate"},
                                     {"F", "gstate"},
                                     {"y", "gstate"},
                                     {"[", "sstate"},
                                     {"{", "rstate"}}) {
        const std::string run = std::string("pending=") + key + " " + state + "=1 chunks=";
        const std::string fault = std::string(state) + "=4 key= answer= boxes=1 ";
        for (const auto& [words, expect] :
             {std::pair{run + "255999", std::string("boxes=0 chunks=256000")},
              {run + "256000 answer=Abort", fault + "end=1 closeallowed=0 opens=0 open=1"},
              {"closed " + run + "256000 answer=Retry",
               fault + "end=0 closeallowed=1 opens=1 open=1"},
              {run + "256000 answer=Ignore", fault + "end=0 closeallowed=1 opens=0 open=1"}}) {
            test::Scenario t;
            t.Run(words, "x");
            t.Expect(expect, words);
            EXPECT_EQ(Boxes(t), t.asker.asked.empty() ? "" : kAsked);
        }
    }
}

// The listing is read only with its terminator at 220 or later.
TEST(TextReaders, TheListingNeedsALateTerminator) {
    for (const auto& [terminatorAt, read] : {std::pair{100, false}, {219, false}, {220, true}}) {
        std::string text = "SerNum  =1234\r\nUnits   =2\r\nQuality =   45\r\n";
        text.resize(static_cast<std::size_t>(terminatorAt - 1), 'x');
        SessionFixture f;
        Send(f, 'P');
        Feed(f, text + "  ***  \r\n");
        EXPECT_EQ(
            f.s.mirror.SerNum == 1234.0f && f.s.mirror.Units == 2.0f && f.s.res.ResultSignal == 45,
            read)
            << terminatorAt;
    }
}

// One row a scenario (the words: scenario.h): the listing, the logo and the timer collect up to
// their limit and show every block; the timer is read once a CR stands at position 4 or later, in
// this block or a later one; one results window update per complete line, whatever the blocks
// (what follows a line's CR LF is the next line), each line counting its own blocks; the display
// step edits and logs the block (a backspace leading it takes the box's last character, never a
// caret before the text); the Calibrate button comes back after the calibration's answer or its
// stop by "R" (the shown text decides: a "D" taken back by a backspace does not count), not while
// the display is suppressed.
TEST(Scenarios, BlocksFed) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"pending=P len=3999", "ab|cd", "answer=ab term=abcd len=4001"},
        {"pending=L len=499", "ab|cd", "answer=ab term=abcd len=501"},
        {"pending=T len=499", "ab|cd", "answer=ab term=abcd len=501"},
        {"pending=T", "ab\rTimer=     988773", "days=0"},
        {"pending=T", "abc\rTimer=     988773", "days=1"},
        {"pending=T", "Timer=     988773", "days=0"},
        {"pending=T", "Timer=     988773|\r", "days=1"},
        {"results pending={", "Vel=  12.5 S=45\r\n", "updates=1 rstate=1 boxes=0"},
        {"results pending={", "Vel=  1|2.5 S=4|5\r|\n", "updates=1 rstate=1 boxes=0"},
        {"results pending={", "\r\nVel=  12.5 S=45\r\n", "updates=1 rstate=1 boxes=0"},
        {"results pending={", "Vel= 1 S=45\r|\n|Vel= 2 S=45\r|\nVel= 1", "updates=2 rstate=1"},
        {"results pending={", "\r\n|\r\n\r\n|Vel= 1 S=45\r\n|Vel= 2 S=45\r\n",
         "updates=2 rstate=1"},
        {"results pending={", "Vel= 1 S=45\r\nVel= 2 S=45\r\n", "updates=2 rstate=1 boxes=0"},
        {"results pending={ rstate=1 chunks=255999", "Vel= 1 S=45\r\n|Vel=  1|2 S=45\r\n",
         "updates=2 boxes=0"},
        {"log", "AB\bC", "term=AC caret=2 log=AC"},
        {"log box=xyz", "\bQ", "term=xyQ caret=3 log=Q"},
        {"log", "\bQ", "term=Q caret=1 log=Q boxes=0"},
        {"log box=xy", "A\b\bQ", "term=xQ caret=2 log=Q"},
        {"log", "a\rb\r", "term=a\r\nb\r\n log=a\r\nb\r\n"},
        {"log", "a\n\rb", "term=a\r\nb log=a\r\nb"},
        {"log box=xyz", "\bAB\bC\nD\r", "term=xyACD\r\n caret=7 log=ACD\r\n"},
        {"cal calpending pending=c", "Cal DONE\r\n", "calpending=0 calenabled=1"},
        {"cal calpending pending=R", "ok\r\n", "calpending=0 calenabled=1"},
        {"cal calpending pending=c", "busy\r\n", "calpending=1 calenabled=0"},
        {"cal calpending pending=c", "D\bok\r\n", "calpending=1 calenabled=0"},
        {"cal pending=c", "DONE\r\n", "calpending=0 calenabled=0"},
        {"cal calpending pending=H gstate=1 len=200", "DONE", "calpending=1 calenabled=0"}};
    for (const auto& [words, blocks, expect] : cases) {
        test::Scenario t;
        t.Run(words, blocks);
        t.Expect(expect, std::string(words) + " / " + blocks);
    }
}

// A box longer than 16384 characters loses its first 8191 before the new text; a history answer
// is shown until its collected text reaches 120 characters.
TEST(DisplayStep, TrimAndTheHiddenHistoryBody) {
    for (const auto& [length, kept] : {std::pair{16384, 16384}, {16385, 8194}, {20000, 11809}}) {
        SessionFixture f;
        for (int i = 0; i < length; ++i)
            f.term.text.push_back(static_cast<char>('a' + i % 26));
        const std::string box = f.term.text;
        Feed(f, "NEW");
        EXPECT_EQ(f.term.text, box.substr(box.size() - kept) + "NEW") << length;
    }
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

// A failed log write asks Retry or Cancel: Retry writes the same block again, Cancel closes the
// log and the terminal goes on.
TEST(LogStep, RetryWritesTheSameBlockAgainCancelClosesTheLog) {
    SessionFixture f;
    f.host.logOpen = true;
    f.host.logError = "Disk full";
    f.asker.answers = {A::Retry, A::Retry};
    f.asker.whileOpen = [&] {
        if (f.asker.asked.size() == 2) f.host.logError.clear();
    };
    Feed(f, "abc\r");
    EXPECT_EQ(f.asker.asked.size(), 2U);
    EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(f.host.log, "abc\r\n");
    f.host.logError = "Disk full";
    f.asker.whileOpen = nullptr;
    Feed(f, "abc");  // the fake answers Cancel
    Feed(f, "def");
    EXPECT_EQ(f.asker.asked.size(), 3U);
    EXPECT_EQ(f.host.logCloses, 1);
    EXPECT_EQ(f.term.text, "abc\r\nabcdef");
}

std::string TimeAnswer() {
    return test::GraphAnswer(test::TimeHeaderLine(512, 1, 3680, 20000), Words(512), 4, 3);
}

// A failing chart or results window is shown in a box and the program goes on: the parser is back
// to idle (already under the box), a running stream gets "R", the block still reaches the box and
// the log, and the answer to the command sent again is read normally.
TEST(ShowDataError, IsShownAndTheProgramGoesOn) {
    const std::tuple<char, bool, bool> cases[] = {
        {'D', true, false}, {'[', true, true}, {'{', true, true}, {'[', false, false}};
    for (const auto& [key, portOpen, sendsStop] : cases) {
        SessionFixture f;
        f.port.open = portOpen;
        f.host.logOpen = true;
        f.s.ResultDisp_Loaded = true;
        Send(f, key);
        int calls = 0;
        f.host.onShowGraph = [&] {
            if (++calls == 1) throw std::runtime_error("Overflow");
        };
        f.host.onResultsChanged = [] { throw std::runtime_error("Type mismatch"); };
        std::int16_t stateUnderBox = -1;
        f.asker.whileOpen = [&] { stateUnderBox = f.s.parser.GraphState; };
        const std::string answer = key == 'D'   ? TimeAnswer()
                                   : key == '[' ? Answer(kKinds[3], 512)
                                                : std::string("Vel= 1 S=45\r\n");
        Feed(f, answer);
        SCOPED_TRACE(std::string(1, key) + (portOpen ? " open" : " closed"));
        EXPECT_EQ(Boxes(f), std::string(kProgramTitle) + ": Error in ShowData:" +
                                (key == '{' ? "Type mismatch" : "Overflow") + "\n");
        EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::OK);
        EXPECT_EQ(f.port.sent, sendsStop ? "R" : "");
        EXPECT_EQ(f.s.CommandKey, sendsStop ? 'R' : 0);
        EXPECT_EQ(f.host.endProgram, 0);
        EXPECT_EQ(stateUnderBox, kIdle);
        EXPECT_EQ(f.s.parser.AutoSpect_status * 10 + f.s.parser.AutoResults_status, 0);
        EXPECT_EQ(f.s.parser.AnswerText + f.s.parser.HeaderText + f.s.parser.TrailerText, "");
        EXPECT_EQ(f.s.parser.AnswerLen, 0);
        EXPECT_EQ(f.term.text, answer);
        EXPECT_EQ(f.host.log, answer);
        if (key != 'D') continue;
        Send(f, 'D');
        Feed(f, TimeAnswer());
        EXPECT_EQ(f.asker.asked.size() * 10 + f.host.graphShows, 12U);
    }
    // A failing text box does not cost the log its block; an exception of any kind is reported.
    struct ThrowingTextBox : StringTextBox {
        void SetSelText(std::string_view) override { throw 42; }
    } box;
    SessionFixture f;
    f.host.logOpen = true;
    std::string block = "a\nb\r";
    ShowData(f.s, box, block);
    EXPECT_EQ(f.asker.asked.at(0).text, "Error in ShowData:Unknown error");
    EXPECT_EQ(f.host.log, "ab\r\n");
}

std::string Shown(std::string block) {
    std::erase(block, '\n');
    for (std::size_t at = block.find('\r'); at != std::string::npos; at = block.find('\r', at + 2))
        block.insert(at + 1, "\n");
    return block;
}

// A block that arrives while ShowData is still busy with an earlier one (its box open) is shown
// and logged after it, in the line's order, and none is lost. (first block, blocks counted, the
// chart fails)
TEST(ShowDataOrder, ABlockArrivingUnderABoxFollowsTheBlockThatOpenedIt) {
    const std::tuple<std::string, int, bool> cases[] = {
        {"D\r\nTIME SERIES DECIMAL 003 3680 005000 NWORDS=0300\r\nFIRST\r\n", 0, false},
        {"D\r\nNWORDS=0512 003 3680 005000            \r\n0001  ***  \r\nFIRST\r\n", 0, false},
        {"FIRST\r\n", kMaxChunks, false},  // transfer too long
        {"D\r\n" + TimeAnswer(), 0, true}};
    for (const auto& [first, chunks, throws] : cases) {
        SessionFixture f;
        f.host.logOpen = true;
        Send(f, 'D');
        if (chunks > 0) f.s.parser.GraphState = kWaitHeader;
        f.s.parser.ChunkCount = chunks;
        if (throws) f.host.onShowGraph = [] { throw std::runtime_error("Overflow"); };
        f.asker.whileOpen = [&f] { Feed(f, "LATER\r\n"); };
        Feed(f, first);
        EXPECT_EQ(f.asker.asked.size(), 1U) << first;
        EXPECT_EQ(f.term.text, Shown(first) + "LATER\r\n");
        EXPECT_EQ(f.host.log, Shown(first) + "LATER\r\n");
    }
}

// 512 words end with the terminator line at 2121; 1121 characters at 960 a second are left.
TEST(GraphProgress, TheStatusPanelCountsTheCharactersAndTheTimeLeft) {
    SessionFixture f;
    Send(f, 'D');
    const std::string header = "D\r\n" + test::TimeHeaderLine(512, 3, 3680, 5000);
    const std::string answer =
        header + test::WordLines(std::vector<int>(512, 100), 4) + "\r\n  ***  \r\n";
    Feed(f, answer.substr(0, header.size() + 1000));
    EXPECT_NE(f.host.statusPanel.find("1000 of 2121"), std::string::npos) << f.host.statusPanel;
    EXPECT_NE(f.host.statusPanel.find(" 2 s"), std::string::npos) << f.host.statusPanel;
    Feed(f, answer.substr(header.size() + 1000));
    EXPECT_EQ(f.host.graphShows + f.host.statusTimerStarts, 2);  // charted, the panel clears
}

}  // namespace
}  // namespace sondix
