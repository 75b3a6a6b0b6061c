// The main window's file features on a real pseudo-terminal: the log opened from the menu holds
// what the sensor sent, in the form sondix-cli decode logs it; a text file reaches the sensor;
// the properties dialog and the Cancel window as a person sees them.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../cli/json_value.h"
#include "memory_settings_store.h"
#include "pty_pair.h"
#include "terminal/headless_io.h"
#include "terminal/main_window.h"
#include "terminal/ui/frmProperties.h"
#include "terminal/ui/frmTerminal.h"

namespace sondix {
namespace {

bool PumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms && !done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

std::string Out(const std::string& name) {
    std::filesystem::create_directories(SONDIX_TEST_OUT);
    return std::string(SONDIX_TEST_OUT) + "/" + name;
}

std::string Slurp(const std::string& path) {
    std::ostringstream b;
    b << std::ifstream(path, std::ios::binary).rdbuf();
    return b.str();
}

std::string DecodedLog(char key, const std::string& capture) {
    std::ofstream(capture + ".cap", std::ios::binary) << Slurp(capture);
    const std::string cmd =
        std::string(SONDIX_CLI_PATH) + " decode '" + key + "' '" + capture + ".cap'";
    std::string json;
    FILE* pipe = popen(cmd.c_str(), "r");
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        json.append(buf, n);
    pclose(pipe);
    return test::ParseJson(json)["log"].text;
}

class QuickClock : public QtClock {
  public:
    void Wait(double seconds) override { QtClock::Wait(seconds / 10); }
};

struct Window {
    test::PtyPair pty;
    test::MemorySettingsStore store;
    RecordingAsker asker;
    QuickClock clock;
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
    bool Enabled(const char* item) const { return w->findChild<QAction*>(item)->isEnabled(); }
};

TEST(TerminalFiles, LogFromTheMenuHoldsEveryByteAsTheToolLogsIt) {
    Window t;
    const std::string log = Out("menu.log"), bytes = Out("menu.bytes");
    std::filesystem::remove(log);
    t.chooser.answers = {log};
    t.w->mnuOpenLog_Click();
    EXPECT_EQ(t.w->windowTitle().toStdString(), std::string(kProgramTitle) + " - menu.log");
    EXPECT_FALSE(t.Enabled("mnuOpenLog"));
    EXPECT_TRUE(t.Enabled("mnuCloseLog"));

    t.w->session().CommandKey = KeyCode('?');
    std::string sent = "ab\bc\r\n";
    for (int c = 0x80; c <= 0xff; ++c)
        sent += static_cast<char>(c);
    std::ofstream(bytes, std::ios::binary) << sent;
    t.pty.writeMaster(sent);
    ASSERT_TRUE(PumpUntil([&] { return Slurp(log).size() >= 132; }, 2000));
    t.w->findChild<QAction*>("mnuCloseLog")->trigger();
    EXPECT_EQ(t.w->windowTitle(), kProgramTitle);
    EXPECT_TRUE(t.Enabled("mnuOpenLog"));
    EXPECT_EQ(Slurp(log), DecodedLog('?', bytes));
}

TEST(TerminalFiles, TextFileReachesTheSensorAndTheMenuItemReturns) {
    Window t;
    const std::string file = Out("send.txt");
    std::ofstream(file, std::ios::binary) << "P F\r\n";
    t.chooser.answers = {file};
    t.w->mnuSendText_Click();
    EXPECT_EQ(t.pty.readMaster(4, 1000), "PF\r\n");
    EXPECT_TRUE(t.Enabled("mnuSendText"));
    EXPECT_FALSE(t.w->CancelSendWindow()->isVisible());
}

TEST(TerminalFiles, PropertiesDialogAndCancelWindowPictures) {
    Window t;
    frmProperties dialog(t.w->session(), t.store,
                         {{"/dev/ttyUSB0", "FT232R USB UART", 0x0403, 0x6001}}, t.w.get());
    dialog.show();
    EXPECT_EQ(dialog.Choices(), LoadPropertySettings(t.w->session(), {}));
    dialog.grab().save(QString::fromStdString(Out("frmProperties.png")));
    frmCancelSend cancel(t.w->session(), t.w.get());
    cancel.ShowSending("Transmitting Text File - /home/user/sensor/setup-commands.txt");
    cancel.grab().save(QString::fromStdString(Out("frmCancelSend.png")));
    cancel.Command1()->click();
    EXPECT_TRUE(t.w->session().CancelSend);
}

}  // namespace
}  // namespace sondix
