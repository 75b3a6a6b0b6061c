// Faults of the Qt layer, one table or test each: Escape and the close box on every kind of box,
// the stored settings text, the terminal font, the windows' places. The open device: mscomm_test.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "memory_settings_store.h"
#include "session_fixture.h"
#include "terminal/comm_settings.h"
#include "terminal/main_window.h"
#include "terminal/ui/frmTerminal.h"
#include "terminal/ui/terminal_font.h"

namespace sondix {
namespace {

// The boxes as the program asks them: port fault and transfer too long, "Data cannot be sent",
// a failing log write, plain messages; Escape or the close box gives the mildest answer.
TEST(BoxEscape, EscapeAndTheCloseBoxNeverAnswerAbort) {
    const std::pair<MsgButtons, MsgAnswer> boxes[] = {
        {MsgButtons::AbortRetryIgnore, MsgAnswer::Ignore},
        {MsgButtons::RetryCancel, MsgAnswer::Cancel},
        {MsgButtons::OK, MsgAnswer::OK},
        {MsgButtons::YesNo, MsgAnswer::No},
        {MsgButtons::OKCancel, MsgAnswer::Cancel},
        {MsgButtons::YesNoCancel, MsgAnswer::Cancel}};
    QtMessageAsker asker(nullptr);
    for (const auto& [buttons, mildest] : boxes) {
        for (const bool escape : {true, false}) {
            QTimer::singleShot(50, [escape] {
                QWidget* box = QApplication::activeModalWidget();
                if (box && escape) QTest::keyClick(box, Qt::Key_Escape);
                if (box && !escape) box->close();
            });
            QTimer::singleShot(2000, [] {  // a box that refuses to go must not hang the test
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->buttons().front()->click();
            });
            EXPECT_EQ(asker.Ask("MSComm Fault", "text", buttons, MsgIcon::None), mildest)
                << static_cast<int>(buttons) << (escape ? " escape" : " close box");
        }
    }
}

// A port that refuses what the serial line cannot carry, as the real one does.
class CheckingPort : public RecordingPort {
  public:
    std::string SetSettings(std::string_view text) override {
        CommSettings parsed;
        const std::string error = ParseCommSettings(text, parsed);
        if (error.empty()) settings = text;
        return error;
    }
};

TEST(SettingsStore, AHandWrittenListAQuotedTextOrItsErrorBox) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QDir(dir.path()).mkpath("Sondix");
    const std::pair<const char*, std::string> stored[] = {
        {"Settings=19200,o,7,1", "19200,o,7,1"},  // the README's form: a list to QSettings
        {"Settings=\"2400,e,8,2\"", "2400,e,8,2"},
        {"Settings=@Rect(1 2 3 4)", ""}};  // unusable: the port's error box
    for (const auto& [line, settings] : stored) {
        std::ofstream((dir.path() + "/Sondix/Sondix.conf").toStdString()) << "[Properties]\n"
                                                                          << line << "\n";
        QtSettingsStore store;
        test::SessionFixture f;
        CheckingPort port;
        port.settings.clear();
        f.s.io.port = &port;
        EXPECT_EQ(ApplyStoredSettings(f.s, store), !settings.empty()) << line;
        EXPECT_EQ(f.asker.asked.size(), settings.empty() ? 1U : 0U) << line;
        EXPECT_EQ(port.settings, settings) << line;
        store.Set("Properties", "Settings", settings);  // what the program writes reads back
        EXPECT_EQ(QtSettingsStore().Get("Properties", "Settings"), settings) << line;
    }
}

TEST(TerminalFont, TheChosenFontMeasuresFixedWhateverFamilyIsAsked) {
    for (const char* family : {"Courier New", "DejaVu Sans", "No Such Family", "Serif"})
        EXPECT_TRUE(MeasuresFixed(TerminalFont(family))) << family;
    QFont proportional(QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(QFontInfo(proportional).family() != "DejaVu Sans" || !MeasuresFixed(proportional));
}

TEST(WindowPlace, AReopenedWindowComesBackWhereTheUserLeftIt) {
    test::MemorySettingsStore store;
    RecordingAsker asker;
    frmTerminal w{{}, store, &asker};
    const QRect placed(QPoint(310, 170), QSize(640, 420));
    for (const bool chart : {true, false}) {
        const auto window = [&]() -> QWidget* {
            return chart ? static_cast<QWidget*>(w.GraphWindow()) : w.ResultsWindow();
        };
        const auto open = [&] { chart ? w.ShowGraph() : w.CreateResultsWindow(); };
        open();
        window()->resize(placed.size());
        window()->move(placed.topLeft());
        chart ? w.CloseGraphWindow() : w.CloseResultsWindow();
        open();
        EXPECT_EQ(QRect(window()->pos(), window()->size()), placed) << chart;
    }
}

}  // namespace
}  // namespace sondix
