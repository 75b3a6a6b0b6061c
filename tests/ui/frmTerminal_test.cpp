// The main window on a real pseudo-terminal: it opens the device named by SONDIX_PORT, shows the
// port's state, sends its start-up commands and survives the far side going away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdlib>

#include "memory_settings_store.h"
#include "pty_pair.h"
#include "terminal/headless_io.h"
#include "terminal/ui/frmTerminal.h"

namespace sondix {
namespace {

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The program's pauses at a tenth of their length: nothing answers the start-up's questions
// here, so the waits only need to let the port's events through.
class HurriedClock : public QtClock {
  public:
    void Wait(double seconds) override { QtClock::Wait(seconds / 10); }
};

struct Window {
    test::PtyPair pty;
    test::MemorySettingsStore store;
    RecordingAsker asker;
    HurriedClock clock;
    std::unique_ptr<frmTerminal> w;

    explicit Window(std::vector<std::string> args = {}) {
        setenv("SONDIX_PORT", pty.slavePath().c_str(), 1);
        w = std::make_unique<frmTerminal>(std::move(args), store, &asker, &clock);
        unsetenv("SONDIX_PORT");
        w->show();
        w->Form_Load();
    }
};

TEST(frmTerminal, StartsConnectedSendsItsStartupCommandsAndClosesToTheEnd) {
    Window t;
    EXPECT_EQ(t.w->LampColour(), (Colour{0, 255, 0}));
    EXPECT_EQ(t.w->StatusPanelText(1), "Settings: 9600,n,8,1");
    EXPECT_TRUE(t.asker.asked.empty());
    // "E" at start-up, then "P" for the identification.
    EXPECT_EQ(t.pty.readMaster(2, 500), "EP");
    Pump(1100);
    EXPECT_TRUE(t.w->StatusPanelText(2).startsWith(" 00:00:0"))
        << t.w->StatusPanelText(2).toStdString();
    t.w->close();
    EXPECT_TRUE(t.w->ProgramEnded());
}

TEST(frmTerminal, ReceivedTextIsShownAndTypedKeysGoToTheSensor) {
    Window t;
    t.pty.readMaster(2, 500);
    t.pty.writeMaster("hello\r\nworld");
    Pump(300);
    EXPECT_TRUE(t.w->Terminal()->toPlainText().endsWith("hello\nworld"))
        << t.w->Terminal()->toPlainText().toStdString();
    QTest::keyClicks(t.w->Terminal(), "?x");
    QTest::keyClick(t.w->Terminal(), Qt::Key_Return);
    Pump(200);  // the port writes from the event loop
    EXPECT_EQ(t.pty.readMaster(3, 500), "?x\r");
}

TEST(frmTerminal, FarSideClosingReportsOnceAndTurnsTheLampRed) {
    Window t;
    t.pty.readMaster(2, 500);
    t.pty.closeMaster();
    Pump(800);
    ASSERT_EQ(t.asker.asked.size(), 1u);
    EXPECT_EQ(t.asker.asked[0].title, "MSComm Fault");
    EXPECT_NE(t.asker.asked[0].text.find("Port closed"), std::string::npos);
    EXPECT_EQ(t.w->LampColour(), (Colour{255, 0, 0}));
    EXPECT_FALSE(t.w->ProgramEnded());
}

}  // namespace
}  // namespace sondix
