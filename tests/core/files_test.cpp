// A session on the fakes beside real files: the communications log (the replace question, a
// write that fails part-way written again once on Retry), a text file transmitted to the sensor,
// a stored history shown while the log keeps recording, and a history's progress.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "common/pauses.h"
#include "core_support.h"
#include "history/hist_transfer.h"
#include "terminal/comm_log.h"
#include "terminal/text_transmit.h"
#include "test_files.h"

namespace sondix::test {
namespace {

// The dispatcher's log step writing into a real file.
struct FileLogHost : RecordingHost {
    CommLog file;
    bool LogOpen() const override { return file.IsOpen(); }
    std::string WriteLog(std::string_view b) override { return file.Write(b); }
    void CloseLog() override { file.Close(); }
};

struct LogSession : SessionFixture {
    FileLogHost fileHost;
    LogSession() { s.io.host = &fileHost; }
};

// Yes replaces, No appends, Cancel asks again.
TEST(CommLog, ExistingFileReplacedOrAppendedAndCancelAsksAgain) {
    using A = MsgAnswer;
    for (const auto& [answers, expected] : {std::pair<std::deque<A>, std::string>{{A::Yes}, "new"},
                                            {{A::No}, "oldnew"},
                                            {{A::Cancel, A::No}, "oldnew"}}) {
        LogSession t;
        const std::string path = WriteFile("replace.log", "old");
        ScriptedChooser chooser;
        chooser.answers = {path, path};
        t.asker.answers = answers;
        ASSERT_TRUE(mnuOpenLog_Click(t.s, t.fileHost.file, chooser));
        EXPECT_EQ(t.asker.asked[0].text, "Replace existing file - " + path + "?");
        Feed(t, "new");
        EXPECT_EQ(Slurp(path), expected);
    }
}

// The disk fills up in the middle of a block; Retry comes once there is room again and writes the
// block once. /dev/full never takes anything: Cancel gives the log up.
TEST(CommLog, FullDiskAsksRetryOrCancelAndRetryWritesTheBlockOnce) {
    LogSession t;
    const std::string path = OutPath("full.log");
    ASSERT_EQ(t.fileHost.file.Open(path, true), "");
    Feed(t, "0123456789");
    signal(SIGXFSZ, SIG_IGN);
    rlimit room{}, full{};
    getrlimit(RLIMIT_FSIZE, &room);
    full = {15, room.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    t.asker.answers = {MsgAnswer::Retry};
    t.asker.whileOpen = [&] { setrlimit(RLIMIT_FSIZE, &room); };
    Feed(t, "abcdefghij\xe4\xff");
    ASSERT_EQ(t.asker.asked.size(), 1u);
    EXPECT_EQ(t.asker.asked[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(Slurp(path), "0123456789abcdefghij\xe4\xff");
    ASSERT_EQ(t.fileHost.file.Open("/dev/full", false), "");
    Feed(t, "x");
    EXPECT_NE(t.asker.asked.back().text.find("No space left"), std::string::npos);
    EXPECT_FALSE(t.fileHost.file.IsOpen());
}

struct CancelWindow : CancelSendWindow {
    void ShowSending(std::string_view l) override { label = l, shown = true; }
    void HideSending() override { shown = false; }
    std::string label;
    bool shown = false;
};

// Printables, CR and LF are sent, blanks and other characters only paused. A missing file is
// asked for again; Cancel stops before the next character; ResetVariables runs at the end.
TEST(TextTransmission, WhatIsSentThePausesAndCancel) {
    constexpr double C = Gen::Pauses::kTextChar, B = Gen::Pauses::kTextBlank,
                     O = Gen::Pauses::kTextOther;
    const std::tuple<std::string, std::string, std::vector<double>> cases[] = {
        {"P F\r\n", "PF\r\n", {C, B, C, C, C}},
        {"\tA\x7f", "A\x7f", {O, C, C}},
        {"\x80\xff~", "~", {O, O, C}},
        {std::string(600, 'x'), "xx", {C, C}}};  // more than one output buffer; cancelled
    for (const auto& [file, sent, pauses] : cases) {
        SessionFixture t;
        // ctest runs the cases of this file at once, each in its own process.
        const std::string path = WriteFile("transmit" + std::to_string(getpid()) + ".txt", file);
        ScriptedChooser chooser;
        chooser.answers = {path + ".none", path};
        CancelWindow window;
        t.clock.onEvents = [&] {
            if (t.port.sent.size() == 2 && file.size() == 600) t.s.CancelSend = true;
        };
        t.s.parser.GraphState = 2;
        mnuSendText_Click(t.s, chooser, window);
        EXPECT_EQ(t.asker.asked.at(0).text, path + ".none not found!");
        EXPECT_EQ(t.port.sent, sent);
        EXPECT_EQ(t.clock.waits, pauses) << file;
        EXPECT_EQ(window.label, "Transmitting Text File - " + path);
        EXPECT_FALSE(t.s.TextSending || window.shown);
        EXPECT_EQ(t.s.parser.GraphState, 0);
    }
}

// A stored history shown twice while the log keeps recording: read with its own file, each
// display starting from "History" and the mode's caption (no doubling).
TEST(HistFile, ShownTwiceWhileTheLogKeepsRecording) {
    SessionFixture hs;
    hs.host.logOpen = true;
    hs.s.GraphHeaderStr = "Unit#7";
    const std::string path = WriteFile("sondix-hist.log", Capture("history_H.cap"));
    LoadHistoryFile(hs.s, path);
    const HistModel first = hs.s.histChart;
    LoadHistoryFile(hs.s, path);
    EXPECT_EQ(hs.host.histShows, 2);
    EXPECT_TRUE(hs.host.logOpen);
    EXPECT_EQ(hs.host.logCloses, 0);
    EXPECT_EQ(hs.s.histChart.title, first.title);
    EXPECT_EQ(hs.s.histChart.caption, "DIST History V3.58");
    EXPECT_EQ(Boxes(hs), "");
    LoadHistoryFile(hs.s, path + ".missing");
    EXPECT_EQ(hs.asker.asked.at(0).text, "File does not exists");
}

// Up to the end of the tenth record line: 20 lines of 62 characters and the marker line are left,
// 1249 characters at 960 a second.
TEST(HistFile, ProgressCountsRecordsCharactersAndTimeLeft) {
    SessionFixture hs;
    hs.s.CommandKey = 'H';
    const std::string cap = Capture("history_H.cap");
    std::size_t cut = cap.find("VELHIST");
    for (int k = 0; k <= 10; ++k)
        cut = cap.find('\n', cut) + 1;
    Feed(hs, cap.substr(0, cut));
    EXPECT_EQ(hs.host.statusPanel, "Status: History 10 of 30 records, " + std::to_string(cut) +
                                       " characters, 00:00:01 left");
    Feed(hs, cap.substr(cut));
    EXPECT_EQ(hs.host.statusPanel, "Status: History 30 records, 2041 characters received");
    EXPECT_EQ(hs.host.histShows, 1);
}

}  // namespace
}  // namespace sondix::test
