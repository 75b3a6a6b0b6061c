// The communications log on real files: the replace question, and a write that fails part-way
// written again once on Retry.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "response/show_data.h"
#include "session_fixture.h"
#include "terminal/comm_log.h"
#include "test_files.h"

namespace sondix {
namespace {

using test::Slurp;

// The dispatcher's log step writing into a real file.
struct FileLogHost : RecordingHost {
    CommLog file;
    bool LogOpen() const override { return file.IsOpen(); }
    std::string WriteLog(std::string_view b) override { return file.Write(b); }
    void CloseLog() override { file.Close(); }
};

struct LogSession : test::SessionFixture {
    FileLogHost fileHost;
    LogSession() { s.io.host = &fileHost; }
    void Receive(std::string block) { ShowData(s, term, block); }
};

TEST(CommLog, ExistingFileReplacedOrAppendedAndCancelAsksAgain) {
    using A = MsgAnswer;
    for (const auto& [answers, expected] : {std::pair<std::deque<A>, std::string>{{A::Yes}, "new"},
                                            {{A::No}, "oldnew"},
                                            {{A::Cancel, A::No}, "oldnew"}}) {
        LogSession t;
        const std::string path = test::WriteFile("replace.log", "old");
        ScriptedChooser chooser;
        chooser.answers = {path, path};
        t.asker.answers = answers;
        ASSERT_TRUE(mnuOpenLog_Click(t.s, t.fileHost.file, chooser));
        EXPECT_EQ(t.asker.asked[0].text, "Replace existing file - " + path + "?");
        t.Receive("new");
        EXPECT_EQ(Slurp(path), expected);
    }
}

TEST(CommLog, FullDiskAsksRetryOrCancelAndRetryWritesTheBlockOnce) {
    LogSession t;
    const std::string path = test::OutPath("full.log");
    ASSERT_EQ(t.fileHost.file.Open(path, true), "");
    t.Receive("0123456789");
    // The disk fills up in the middle of the next block; Retry comes once there is room again.
    signal(SIGXFSZ, SIG_IGN);
    rlimit room{}, full{};
    getrlimit(RLIMIT_FSIZE, &room);
    full = {15, room.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    t.asker.answers = {MsgAnswer::Retry};
    t.asker.whileOpen = [&] { setrlimit(RLIMIT_FSIZE, &room); };
    t.Receive("abcdefghij\xe4\xff");
    ASSERT_EQ(t.asker.asked.size(), 1u);
    EXPECT_EQ(t.asker.asked[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(Slurp(path), "0123456789abcdefghij\xe4\xff");

    // /dev/full never takes anything: Cancel gives the log up.
    ASSERT_EQ(t.fileHost.file.Open("/dev/full", false), "");
    t.Receive("x");
    EXPECT_NE(t.asker.asked.back().text.find("No space left"), std::string::npos);
    EXPECT_FALSE(t.fileHost.file.IsOpen());
}

}  // namespace
}  // namespace sondix
