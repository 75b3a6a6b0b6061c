// The main window's file features on a real pseudo-terminal: the log opened from the menu holds
// what the sensor sent, as sondix-cli decode logs it; a text file reaches the sensor and its
// Cancel button reaches the session.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <nlohmann/json.hpp>

#include "../e2e/e2e_support.h"
#include "cli_run.h"
#include "pty_pair.h"
#include "terminal/main_window.h"

namespace sondix::test {
namespace {

// The tool's log of the same bytes: its JSON carries each byte as the code point of its number.
std::string DecodedLog(const std::string& key, const std::string& capture) {
    const auto log = nlohmann::json::parse(RunCli({"decode", key, capture}).out)["log"];
    return QString::fromStdString(log.get<std::string>()).toLatin1().toStdString();
}

struct Window {
    PtyPair pty;
    MemorySettingsStore store;
    RecordingAsker asker;
    QuickClock clock{10};
    ScriptedChooser chooser;
    std::unique_ptr<frmTerminal> w;
    Window() {
        setenv("SONDIX_PORT", pty.slavePath().c_str(), 1);
        w = std::make_unique<frmTerminal>(std::vector<std::string>{}, store, &asker, &clock);
        unsetenv("SONDIX_PORT");
        w->SetFileChooser(&chooser);
        w->show();
        w->Form_Load();
        pty.readMaster(2, 500);  // "E", "P"
    }
};

TEST(TerminalFiles, LogHoldsEveryByteAsTheToolLogsItAndATextFileGoesOut) {
    Window t;
    const std::string log = OutPath("menu.log");
    std::filesystem::remove(log);
    t.chooser.answers = {log};
    t.w->mnuOpenLog_Click();

    t.w->session().CommandKey = KeyCode('?');
    std::string sent = "ab\bc\r\n";
    for (int c = 0x80; c <= 0xff; ++c)
        sent += static_cast<char>(c);
    t.pty.writeMaster(sent);
    ASSERT_TRUE(PumpUntil([&] { return Slurp(log).size() >= 132; }, 2000));
    t.w->findChild<QAction*>("mnuCloseLog")->trigger();
    EXPECT_EQ(Slurp(log), DecodedLog("?", WriteFile("menu.cap", sent)));

    // A text file on the same line; the menu item is back afterwards.
    t.chooser.answers = {WriteFile("send.txt", "P F\r\n")};
    t.w->mnuSendText_Click();
    EXPECT_EQ(t.pty.readMaster(4, 1000), "PF\r\n");
    EXPECT_TRUE(t.w->findChild<QAction*>("mnuSendText")->isEnabled());

    frmCancelSend* cancel = t.w->CancelSendWindow();
    cancel->ShowSending("Transmitting Text File - setup.txt");
    cancel->Command1()->click();
    EXPECT_TRUE(t.w->session().CancelSend);
}

}  // namespace
}  // namespace sondix::test
