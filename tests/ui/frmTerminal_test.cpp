// The main window on a real pseudo-terminal: it opens the device named by SONDIX_PORT, shows the
// port's state, sends its start-up commands and survives the far side going away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <cstdlib>

#include "common/ui/placement.h"
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
    t.w->session().AutoReconnect = false;  // the box, not the quiet wait for the device
    t.pty.readMaster(2, 500);
    t.pty.closeMaster();
    Pump(800);
    ASSERT_EQ(t.asker.asked.size(), 1u);
    EXPECT_EQ(t.asker.asked[0].title, "MSComm Fault");
    EXPECT_NE(t.asker.asked[0].text.find("Port closed"), std::string::npos);
    EXPECT_EQ(t.w->LampColour(), (Colour{255, 0, 0}));
    EXPECT_FALSE(t.w->ProgramEnded());
}

TEST(frmTerminal, AccessCodeOffersCalibrate) {
    Window t({"417"});
    EXPECT_TRUE(t.w->Button("cmdCalibrate")->isVisible());
    EXPECT_TRUE(t.w->Button("cmdCalibrate")->isEnabled());
}

// The window as built, before its start-up opens a port.
struct Bare {
    test::MemorySettingsStore store;
    RecordingAsker asker;
    frmTerminal w{{}, store, &asker};
};

struct ControlCase {
    const char* name;
    const char* caption;
    const char* tip;
};

class Controls : public ::testing::TestWithParam<ControlCase> {};

TEST_P(Controls, CaptionAndToolTip) {
    Bare b;
    const ControlCase& c = GetParam();
    const QWidget* control = b.w.findChild<QWidget*>(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        EXPECT_EQ(button->text(), c.caption);
    } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        EXPECT_EQ(label->text(), c.caption);
    }
    EXPECT_EQ(control->toolTip(), c.tip);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Controls,
    ::testing::Values(
        ControlCase{"frmConnectLight", "", "toggle serial port open/close"},
        ControlCase{"cmdRefresh", "Refresh", "refresh display"},
        ControlCase{"cmdRptDist", "Results", "auto repeat sensor output every 2 seconds "},
        ControlCase{"cmdRamp", "Ramp", "download and display frequency sweep ramp profile"},
        ControlCase{"cmdScope", "Scope", "download and display raw signal in time"},
        ControlCase{"cmdRptSpect", "StartSpec", "auto repeat spectral graph every 2 seconds"},
        ControlCase{"cmdSpect", "Spect", "download and display spectral graph (echo profile)"},
        ControlCase{"cmdHist", "Hist", "download and display history file"},
        ControlCase{"cmdConfig", "Config", "open configuration screen"},
        ControlCase{"cmdCalibrate", "Calibrate", ""}, ControlCase{"txtTerm", "", "Type ? for help"},
        ControlCase{"lblVerAndSerialNum", "Firmware Ver xxx  :   S/N=", ""},
        ControlCase{"Status", "Status:", "Communications Port Status"},
        ControlCase{"Settings", "Settings:", "Communications Port Settings"},
        ControlCase{"ConnectTime", "", "Connect Time"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MenuCase {
    const char* name;
    const char* text;
    bool enabled;
    bool checkable;
};

class Menus : public ::testing::TestWithParam<MenuCase> {};

TEST_P(Menus, CaptionWithAccessKeyAndStartState) {
    Bare b;
    const MenuCase& c = GetParam();
    const QAction* a = b.w.findChild<QAction*>(c.name);
    ASSERT_NE(a, nullptr) << c.name;
    EXPECT_EQ(a->text(), c.text);
    EXPECT_EQ(a->isEnabled(), c.enabled);
    EXPECT_EQ(a->isCheckable(), c.checkable);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, Menus,
    ::testing::Values(MenuCase{"mnuOpenLog", "&Open Log File...", true, false},
                      MenuCase{"mnuCloseLog", "&Close Log File", false, false},
                      MenuCase{"mnuShowHistFile", "&Disp Hist File", true, false},
                      MenuCase{"mnuSendText", "&Transmit Text File...", false, false},
                      MenuCase{"mnuFileExit", "E&xit", true, false},
                      MenuCase{"mnuOpen", "Port &Open", true, true},
                      MenuCase{"mnuProperties", "Properties...", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(frmTerminal, StatusPanelsAndMenusInTheirOrder) {
    Bare b;
    QStringList panels;
    for (const QLabel* p : b.w.statusBar()->findChildren<QLabel*>())
        panels << p->objectName();
    EXPECT_EQ(panels, QStringList({"Status", "Settings", "ConnectTime"}));
    QStringList tree;
    for (const QAction* top : b.w.menuBar()->actions()) {
        tree << top->text();
        for (const QAction* item : top->menu()->actions())
            tree << (item->isSeparator() ? QString("-") : item->objectName());
    }
    EXPECT_EQ(tree.join('|'),
              "&File|mnuOpenLog|mnuCloseLog|mnuShowHistFile|-|mnuSendText|-|mnuFileExit|"
              "&CommPort|mnuOpen|-|mnuProperties");
}

TEST(frmTerminal, TerminalStartsWithItsPromptInAFixedPitchFont) {
    Bare b;
    EXPECT_EQ(b.w.Terminal()->toPlainText(), "Type ? for help...\n");
    EXPECT_EQ(b.w.Terminal()->font().family(), "Courier New");
    EXPECT_TRUE(QFontInfo(b.w.Terminal()->font()).fixedPitch())
        << QFontInfo(b.w.Terminal()->font()).family().toStdString();
    EXPECT_EQ(b.w.windowTitle(), "Sondix V3.58");
}

// However small the window is made, every button shows its whole caption and the terminal
// keeps a few lines.
TEST(frmTerminal, SmallestWindowKeepsEveryCaption) {
    Bare b;
    b.w.show();
    b.w.resize(50, 50);
    QApplication::processEvents();
    const QRect area = b.w.centralWidget()->rect();
    for (const QPushButton* button : b.w.centralWidget()->findChildren<QPushButton*>()) {
        if (!button->isVisible()) continue;
        const QString name = button->objectName();
        EXPECT_GE(button->width(), button->sizeHint().width()) << name.toStdString();
        EXPECT_TRUE(area.contains(button->geometry())) << name.toStdString();
    }
    const QLabel* label = b.w.findChild<QLabel*>("lblVerAndSerialNum");
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_GE(b.w.Terminal()->height(), 5 * b.w.Terminal()->fontMetrics().lineSpacing());
}

struct StartCase {
    QRect available;
    QSize outer;
    QPoint at;
};

class MainWindowPlacement : public ::testing::TestWithParam<StartCase> {};

TEST_P(MainWindowPlacement, RightEdgeOneWindowHeightDown) {
    EXPECT_EQ(MainWindowStart(GetParam().available, GetParam().outer), GetParam().at);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, MainWindowPlacement,
    ::testing::Values(StartCase{{0, 0, 1280, 1024}, {733, 507}, {547, 507}},
                      StartCase{{0, 32, 1280, 992}, {733, 537}, {547, 487}},  // a top panel
                      StartCase{{0, 0, 1024, 768}, {733, 537}, {291, 231}},   // kept on screen
                      StartCase{{0, 0, 640, 480}, {733, 537}, {0, 0}},
                      StartCase{{1280, 0, 1920, 1080}, {733, 507}, {2467, 507}}));

struct BesideCase {
    QRect anchor;
    QSize outer;
    std::optional<QPoint> at;
};

class BesidePlacement : public ::testing::TestWithParam<BesideCase> {};

TEST_P(BesidePlacement, LeftThenRightOfTheMainWindow) {
    EXPECT_EQ(BesideWindow({0, 0, 1280, 1024}, GetParam().anchor, GetParam().outer), GetParam().at);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BesidePlacement,
    ::testing::Values(BesideCase{{547, 507, 733, 507}, {400, 330}, QPoint(147, 507)},
                      BesideCase{{100, 507, 733, 507}, {400, 330}, QPoint(833, 507)},
                      BesideCase{{300, 200, 733, 507}, {400, 330}, std::nullopt},
                      BesideCase{{547, 900, 733, 507}, {400, 330}, QPoint(147, 694)}));

}  // namespace
}  // namespace sondix
