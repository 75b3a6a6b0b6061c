// ShowData against whatever a noisy line can deliver. Input: byte 1 picks the pending command
// (low four bits) and a few session settings (high four bits), byte 2 the block size (0: all in
// one block), the rest is what the sensor sent. Inside it, FF FE and a command byte send the
// next command, so that what one answer leaves behind meets the next. After every block the
// parser's state must stay within its rules, the only boxes are the dispatcher's own framing
// boxes, and afterwards a clean "D" answer must still be charted: no garbage may leave the
// parser stuck.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "config/param_exchange.h"
#include "fuzz_support.h"
#include "graph_answer.h"
#include "known_boxes.h"
#include "response/show_data.h"
#include "terminal/headless_io.h"
#include "terminal/main_window.h"

namespace sondix::fuzz {
namespace {

// The readers' letters first, then commands that only display, 0 for "nothing pending".
constexpr std::array<char, 16> kCommands{'D', 'F', '[', ']', '{', '}', 'P', 'H',
                                         'L', 'T', 'y', 'R', 'E', '?', 'c', '\0'};

constexpr std::string_view kNextCommand = "\xFF\xFE";

char CommandOf(std::uint8_t b) {
    return kCommands[b & 0x0F];
}

// The results stream feeds the results window, which the Results button opens before "{".
void OpenResultsFor(HeadlessSession& h, char command) {
    h.s.ResultDisp_Loaded = h.host.resultsWindow = command == '{';
}

// Byte 1: the command just sent (its key pending, the parser starting afresh), the sensor kind,
// the log and the units; byte 2: the block size.
std::size_t StartCommand(HeadlessSession& h, FuzzInput& in) {
    const std::uint8_t a = in.Byte();
    Session& s = h.s;
    s.mirror.VelocimeterMode = (a & 0x10) != 0;
    h.host.logOpen = (a & 0x20) != 0;
    s.mirror.Units = static_cast<float>(a >> 6);
    s.CommandKey = KeyCode(CommandOf(a));
    ResetVariables(s);
    OpenResultsFor(h, CommandOf(a));
    return in.Byte();
}

// A later command, sent as the program sends every command.
void SendCommand(HeadlessSession& h, char command) {
    send_cmd(h.s, std::string(1, command));
    OpenResultsFor(h, command);
}

bool ValidState(std::int16_t state) {
    return state >= kIdle && state <= kFault;
}

void CheckParser(const Session& s, std::size_t fed) {
    const ParserState& p = s.parser;
    Require(ValidState(p.GraphState), "GraphState stays within 0..4");
    Require(ValidState(p.AutoSpect_status), "AutoSpect_status stays within 0..4");
    Require(ValidState(p.AutoResults_status), "AutoResults_status stays within 0..4");
    // The readers only ever keep what arrived, never more.
    Require(p.AnswerText.size() <= fed, "the answer text holds no more than was received");
    Require(p.TrailerText.size() <= fed, "the trailer text holds no more than was received");
    Require(p.HeaderText.size() <= fed, "the header text holds no more than was received");
}

void CheckGraph(const GraphModel& g) {
    Require(g.NPoints() <= 4096, "a chart has at most the largest announced word count");
    for (const GraphPoint& pt : g.points) {
        Require(!std::isnan(pt.x) && !std::isnan(pt.y), "chart points are numbers",
                std::string(1, g.kind));
    }
    Require(!std::isnan(g.labelStep) && !std::isnan(g.XAxisScaleFact), "axis steps are numbers");
}

void CheckHistory(const HistModel& m) {
    for (const HistPoint& p : m.points) {
        Require(!std::isnan(p.t) && !std::isnan(p.vel) && !std::isnan(p.iloop) &&
                    !std::isnan(p.amp) && !std::isnan(p.noise),
                "history points are numbers");
    }
}

void CheckResults(const ResultsModel& r) {
    Require(r.pbrSigstrength >= 0 && r.pbrSigstrength <= 99, "the signal bar stays within 0..99");
    Require(r.txtSigstrength.empty() || r.txtSigstrength.size() == 2,
            "the signal figure has two digits", r.txtSigstrength);
    for (const int c : {r.SigColor.r, r.SigColor.g, r.SigColor.b})
        Require(c >= 0 && c <= 255, "the signal colour's channels stay within 0..255");
}

void CheckBoxes(const HeadlessSession& h) {
    for (const AskedMessage& m : h.asker.asked) {
        Require(test::IsFramingBox(m), "only the dispatcher's framing boxes appear",
                m.title + " / " + m.text);
    }
}

// One block through ShowData, with the rules that hold after any block.
void Feed(HeadlessSession& h, std::string block, std::size_t& fed) {
    const std::size_t received = block.size();
    const std::size_t logBefore = h.host.log.size();
    const int shows = h.host.graphShows;
    const int histShows = h.host.histShows;
    fed += received;
    ShowData(h.s, h.term, block);
    if (h.host.logOpen) {
        Require(h.host.log.size() == logBefore + block.size(),
                "the log receives the block as the display step left it");
    }
    // The box is cut to its last half once past 16384 characters; a block can at most double
    // (every CR followed by LF).
    Require(h.term.text.size() <= 16384 + 2 * received,
            "the terminal box stays within its size limit");
    Require(h.term.selStart == static_cast<long long>(h.term.text.size()),
            "the caret stands after the text");
    CheckParser(h.s, fed);
    // The points change only when an answer is charted: checked then, not after every byte.
    if (h.host.graphShows != shows) CheckGraph(h.s.graph);
    if (h.host.histShows != histShows) CheckHistory(h.s.histChart);
    CheckResults(h.s.results);
}

// A clean time series after the garbage: the Scope button's command and its whole answer.
// Built once: formatting its words took a third of each input's time.
constexpr int kWords = 512;

const std::vector<int>& CleanWords() {
    static const std::vector<int> words = [] {
        std::vector<int> w(kWords);
        for (int i = 0; i < kWords; ++i)
            w[static_cast<std::size_t>(i)] = (i * 37) % 1024;
        return w;
    }();
    return words;
}

const std::string& CleanAnswer() {
    static const std::string answer =
        "D\r\n" +
        test::GraphAnswer(test::TimeHeaderLine(kWords, 40, 3680, 5000), CleanWords(), 4, 3);
    return answer;
}

void CheckRecovers(HeadlessSession& h) {
    const std::vector<int>& words = CleanWords();
    const std::size_t boxes = h.asker.asked.size();
    cmdScope_Click(h.s);
    Require(h.s.CommandKey == 'D', "the Scope button leaves D pending");
    std::string answer = CleanAnswer();
    ShowData(h.s, h.term, answer);
    Require(h.asker.asked.size() == boxes, "a clean answer brings up no box",
            h.asker.asked.empty() ? "" : h.asker.asked.back().text);
    Require(h.s.graph.kind == 'D' && h.s.graph.NPoints() == kWords,
            "a clean answer after garbage is charted");
    const float expected = static_cast<float>(words[1] * h.s.graphHdr.VoltsPerCount);
    Require(h.s.graph.points[1].y == expected, "the clean answer's words are charted");
    Require(h.s.parser.GraphState == kIdle, "the parser is idle after the clean answer");
}

}  // namespace
}  // namespace sondix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sondix::fuzz;
    FuzzInput in(data, size);
    sondix::HeadlessSession h;
    const std::size_t blockSize = StartCommand(h, in);
    const std::string text = in.Rest();
    std::size_t fed = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t mark = std::min(text.find(kNextCommand, from), text.size());
        const std::string answer = text.substr(from, mark - from);
        const std::size_t block =
            blockSize > 0 ? blockSize : std::max<std::size_t>(answer.size(), 1);
        for (std::size_t at = 0; at < answer.size(); at += block)
            Feed(h, answer.substr(at, block), fed);
        if (answer.empty()) Feed(h, {}, fed);  // an empty receive event is a block too
        if (mark + kNextCommand.size() >= text.size()) break;
        SendCommand(h, CommandOf(static_cast<std::uint8_t>(text[mark + kNextCommand.size()])));
        from = mark + kNextCommand.size() + 1;
    }
    CheckBoxes(h);
    CheckRecovers(h);
    return 0;
}
