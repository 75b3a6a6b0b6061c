// The communications log on real files: the replace question, blocks appended byte for byte,
// and a write that fails part-way written again once on Retry.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "response/show_data.h"
#include "session_fixture.h"
#include "terminal/comm_log.h"

namespace sondix {
namespace {

std::string Slurp(const std::string& path) {
    std::ostringstream b;
    b << std::ifstream(path, std::ios::binary).rdbuf();
    return b.str();
}

// The dispatcher's log step writing into a real file.
struct FileLogHost : RecordingHost {
    CommLog file;
    bool LogOpen() const override { return file.IsOpen(); }
    std::string WriteLog(std::string_view b) override { return file.Write(b); }
    void CloseLog() override { file.Close(); }
};

struct LogSession : test::SessionFixture {
    FileLogHost fileHost;
    ScriptedChooser chooser;
    std::string path = std::string(SONDIX_TEST_OUT) + "/comm_log_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    LogSession() {
        std::filesystem::create_directories(SONDIX_TEST_OUT);
        s.io.host = &fileHost;
    }
};

TEST(CommLog, ExistingFileReplacedOrAppendedAndCancelAsksAgain) {
    struct Case {
        std::vector<MsgAnswer> answers;
        const char* expected;
    };
    for (const Case& c : {Case{{MsgAnswer::Yes}, "new"}, Case{{MsgAnswer::No}, "oldnew"},
                          Case{{MsgAnswer::Cancel, MsgAnswer::No}, "oldnew"}}) {
        LogSession t;
        std::ofstream(t.path) << "old";
        t.chooser.answers = {t.path, t.path};
        t.asker.answers.assign(c.answers.begin(), c.answers.end());
        ASSERT_TRUE(mnuOpenLog_Click(t.s, t.fileHost.file, t.chooser));
        EXPECT_EQ(t.chooser.titles.size(), c.answers.size());
        EXPECT_EQ(t.asker.asked[0].text, "Replace existing file - " + t.path + "?");
        std::string block = "new";
        ShowData(t.s, t.term, block);
        EXPECT_EQ(Slurp(t.path), c.expected);
        EXPECT_EQ(LogCaption(t.fileHost.file.Path()),
                  std::string(kProgramTitle) + " - comm_log_" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
    }
}

TEST(CommLog, FullDiskAsksRetryOrCancelAndRetryWritesTheBlockOnce) {
    LogSession t;
    ASSERT_EQ(t.fileHost.file.Open(t.path, true), "");
    std::string first = "0123456789";
    ShowData(t.s, t.term, first);
    // The disk fills up in the middle of the next block; Retry comes once there is room again.
    signal(SIGXFSZ, SIG_IGN);
    rlimit was{};
    getrlimit(RLIMIT_FSIZE, &was);
    rlimit full = was;
    full.rlim_cur = 15;
    setrlimit(RLIMIT_FSIZE, &full);
    t.asker.answers = {MsgAnswer::Retry};
    t.asker.whileOpen = [&] { setrlimit(RLIMIT_FSIZE, &was); };
    std::string second = "abcdefghij\xe4\xff";
    ShowData(t.s, t.term, second);
    ASSERT_EQ(t.asker.asked.size(), 1u);
    EXPECT_EQ(t.asker.asked[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(t.asker.asked[0].icon, MsgIcon::Critical);
    EXPECT_EQ(Slurp(t.path), "0123456789abcdefghij\xe4\xff");

    // /dev/full never takes anything: Cancel gives the log up.
    ASSERT_EQ(t.fileHost.file.Open("/dev/full", false), "");
    ShowData(t.s, t.term, first);
    EXPECT_NE(t.asker.asked.back().text.find("No space left"), std::string::npos);
    EXPECT_FALSE(t.fileHost.file.IsOpen());
}

}  // namespace
}  // namespace sondix
