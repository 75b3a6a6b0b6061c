// Scenarios on a session on the fakes, one table row each: words that set the session up and act
// as the user and the line do, blocks fed to ShowData, then the observations that must follow.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "core_support.h"
#include "terminal/main_window.h"

namespace sondix::test {

// The window's box refuses a caret before its first character, as the Qt box does.
struct StrictTextBox : StringTextBox {
    void SetSelStart(long long pos) override {
        if (pos < 0) throw std::out_of_range("caret before the text");
        StringTextBox::SetSelStart(pos);
    }
};

struct Scenario : SessionFixture {
    StrictTextBox box;
    Scenario() { s.io.term = &box; }

    // The words, in order: a button ("Results", "StartSpec", "Refresh", "Scope", "Spect", "Ramp",
    // "Hist", "Calibrate"); "closed" (the port); "log" (open); "results" (the results window
    // open); "chart" (the chart window opened); "spectrum" (a stream's first spectrum charted);
    // "both" (both streams running with their windows); "windows" (the chart, history and results
    // windows open); "closechart"; "reset" (ResetVariables); "echo"; "cal" (the
    // Calibrate button disabled and coloured while it runs); "calpending"; "pending=X";
    // "password=N"; "box=TEXT" (the terminal's text); "len=N", "chunks=N" (the answer's length
    // and blocks so far); "gstate=N", "sstate=N", "rstate=N" (the graph, spectrum stream and
    // results stream readers); "key=X" (typed into the terminal: it also resets the answer and
    // ends a pending calibration when it reaches the sensor; consumed unless echoed); "input=X"
    // (what the port has received); "answer=A" (the next box's answer: Abort, Retry, Ignore; the
    // default is the mildest); "event=N" (a port event). Then the blocks, split at "|", fed in
    // turn.
    void Run(const std::string& words, const std::string& blocks = "") {
        s.cmdCalibrate = {"Calibrate", s.SaveColor, true, true};  // started with the access code
        std::istringstream in(words);
        for (std::string w; in >> w;) {
            const std::string a = w.substr(w.find('=') + 1);
            const int n = std::isdigit(static_cast<unsigned char>(a[0])) ? std::stoi(a) : 0;
            const auto i16 = static_cast<std::int16_t>(n);
            ASSERT_NE(kWords.find(" " + w.substr(0, w.find('=')) + " "), std::string::npos) << w;
            if (w == "Results") cmdRptDist_Click(s);
            if (w == "StartSpec") cmdRptSpect_Click(s);
            if (w == "Refresh") cmdRefresh_Click(s);
            if (w == "Scope") cmdScope_Click(s);
            if (w == "Spect") cmdSpect_Click(s);
            if (w == "Ramp") cmdRamp_Click(s);
            if (w == "Hist") cmdHist_Click(s);
            if (w == "Calibrate") cmdCalibrate_Click(s);
            if (w == "closed") port.open = false;
            if (w == "log") host.logOpen = true;
            if (w == "results") s.ResultDisp_Loaded = true;
            if (w == "chart" || w == "spectrum") LoadGraphWindow(s);
            if (w == "spectrum") s.parser.AutoSpect_status = kWaitHeader;
            if (w == "both") BothStreams();
            if (w == "windows") s.D_GraphLoaded = s.HistWindowLoaded = s.ResultDisp_Loaded = true;
            if (w == "closechart") UnloadGraphWindow(s);
            if (w == "reset") ResetVariables(s);
            if (w == "echo") s.Echo = true;
            if (w == "cal") s.cmdCalibrate.enabled = false, s.cmdCalibrate.face = {250, 0, 0};
            if (w == "calpending") s.CalibrationPending = true;
            if (w.starts_with("pending=")) s.CommandKey = KeyCode(a[0]);
            if (w.starts_with("password=")) s.mirror.Password = static_cast<float>(n);
            if (w.starts_with("box=")) box.text = a;
            if (w.starts_with("len=")) s.parser.AnswerLen = n;
            if (w.starts_with("chunks=")) s.parser.ChunkCount = n;
            if (w.starts_with("gstate=")) s.parser.GraphState = i16;
            if (w.starts_with("sstate=")) s.parser.AutoSpect_status = i16;
            if (w.starts_with("rstate=")) s.parser.AutoResults_status = i16;
            if (w.starts_with("input=")) port.input = a;
            if (w.starts_with("answer=")) asker.answers.push_back(kAnswers.at(a));
            if (w.starts_with("event=")) OnComm(s, n);
            if (w.starts_with("key=")) TypeKey(a[0]);
        }
        std::istringstream feed(blocks);
        for (std::string block; std::getline(feed, block, '|');)
            ShowData(s, box, block);
    }

    // Compares the observations named in `expect` ("name=value" separated by blanks).
    void Expect(const std::string& expect, const std::string& trace) {
        const auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
        const std::map<std::string, std::string> seen = {
            {"sent", port.sent},
            {"key", s.CommandKey ? std::string(1, static_cast<char>(s.CommandKey)) : ""},
            {"boxes", std::to_string(asker.asked.size())},
            {"updates", std::to_string(host.resultsUpdates)},
            {"gstate", std::to_string(s.parser.GraphState)},
            {"sstate", std::to_string(s.parser.AutoSpect_status)},
            {"rstate", std::to_string(s.parser.AutoResults_status)},
            {"chunks", std::to_string(s.parser.ChunkCount)},
            {"windows", std::to_string(s.D_GraphLoaded + s.HistWindowLoaded + s.ResultDisp_Loaded)},
            {"end", std::to_string(host.endProgram)},
            {"open", flag(port.open)},
            {"opens", std::to_string(port.opens)},
            {"closeallowed", flag(s.PortCloseAllowed)},
            {"len", std::to_string(s.parser.AnswerLen)},
            {"answer", s.parser.AnswerText},
            {"term", box.text},
            {"caret", std::to_string(box.selStart)},
            {"log", host.log},
            {"calpending", flag(s.CalibrationPending)},
            {"calenabled", flag(s.cmdCalibrate.enabled && s.cmdCalibrate.face == s.SaveColor)},
            {"days", flag(s.res.UnitTimeDays > 0.99)}};
        std::istringstream in(expect);  // values may hold CR and LF, never a blank
        for (std::string w; std::getline(in, w, ' ');) {
            const std::string name = w.substr(0, w.find('='));
            ASSERT_TRUE(seen.contains(name)) << name;
            EXPECT_EQ(seen.at(name), w.substr(name.size() + 1)) << trace << ": " << name;
        }
    }

  private:
    static constexpr std::string_view kWords =
        " Results StartSpec Refresh Scope Spect Ramp Hist Calibrate closed log results chart "
        "spectrum both windows closechart reset echo cal calpending pending password box len "
        "chunks gstate sstate rstate input answer event key ";
    inline static const std::map<std::string, MsgAnswer> kAnswers = {
        {"Abort", MsgAnswer::Abort}, {"Retry", MsgAnswer::Retry}, {"Ignore", MsgAnswer::Ignore}};

    void BothStreams() {
        s.ResultDisp_Loaded = s.D_GraphLoaded = true;
        s.cmdRptDist.caption = "Stop";
        s.parser.AutoSpect_status = 1;
        s.cmdRptSpect.caption = "StopSpec";
    }
    void TypeKey(char key) {
        s.parser.GraphState = 2;
        s.parser.AnswerText = "partial";
        s.CalibrationPending = true;
        const std::size_t before = port.sent.size();
        EXPECT_EQ(txtTerm_KeyPress(s, key), !s.Echo) << key;
        EXPECT_EQ(s.parser.GraphState + s.parser.AnswerText.size(), 0u) << key;
        EXPECT_EQ(s.CalibrationPending, port.sent.size() == before) << key;
    }
};

}  // namespace sondix::test
