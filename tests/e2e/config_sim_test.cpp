// The main window against sondix-sim on a pseudo-terminal: the start-up and Refresh read the
// identification, a typed key reaches the sensor. The configuration screen: open it, read the
// sensor's values in mm and in feet and inches, change unit, 4 mA point, a relay mode and damping,
// read them back from the sensor, calibrate with the sensor's code, close it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "config/ui/frmConfig.h"
#include "e2e_support.h"

namespace sondix {
namespace {

template <class W>
W* Get(frmConfig* w, const char* name) {
    return qobject_cast<W*>(w->Control(QString::fromLatin1(name)));
}

QString Text(frmConfig* w, const char* box) {
    return Get<QLineEdit>(w, box)->text();
}

TEST(WithSimulator, StartupRefreshTypingThenConfigChangesReadBackAndCalibrate) {
    test::QuickClock clock;
    test::SimulatedSession t({"--firmware", "0.45"}, {}, &clock);
    frmTerminal& term = *t.w;
    Session& s = t.s();
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked[0].text;
    EXPECT_EQ(s.mirror.NumberOfFFTdatapoints, 1 << static_cast<int>(s.mirror.Log2Nfft));
    EXPECT_NE(s.lblVerAndSerialNum.find(" : S/N="), std::string::npos);
    s.mirror.SerNum = 0;
    term.Button("cmdRefresh")->click();
    EXPECT_GT(s.mirror.SerNum, 0);
    QTest::keyClick(term.Terminal(), 'T');
    EXPECT_TRUE(
        test::PumpUntil([&] { return term.Terminal()->toPlainText().contains("Timer="); }, 3000));

    term.Button("cmdConfig")->click();
    frmConfig* w = term.ConfigWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Text(w, "txtSet4"), "500");
    EXPECT_EQ(Text(w, "txtCaldist"), "5000");

    Get<QRadioButton>(w, "optUnits(1)")->click();
    EXPECT_EQ(Text(w, "txtSet4"), "1'7.7\"");
    EXPECT_EQ(Text(w, "txtCaldist"), "16'4.8\"");
    Get<QLineEdit>(w, "txtSet4")->selectAll();
    QTest::keyClicks(Get<QLineEdit>(w, "txtSet4"), "4'0");
    Get<QPushButton>(w, "cmdSet4")->click();
    Get<QRadioButton>(w, "optRelay2Mode(2)")->click();
    Get<QSpinBox>(w, "updDamp")->setValue(6);
    Get<QPushButton>(w, "cmdSetDamp")->click();

    // Forget what was set: only the sensor's listing can bring it back.
    s.mirror.Units = 0;
    s.mirror.Set__4 = 0;
    s.mirror.Rly2Mode = 1;
    s.mirror.Damping = 0;
    Get<QPushButton>(w, "cmdRefreshPar")->click();
    EXPECT_EQ(s.mirror.Units, 1);
    EXPECT_EQ(s.mirror.Set__4, 1219);
    EXPECT_EQ(s.mirror.Rly2Mode, 3);
    EXPECT_EQ(s.mirror.Damping, 6);
    EXPECT_TRUE(Get<QRadioButton>(w, "optUnits(1)")->isChecked());
    EXPECT_TRUE(Get<QRadioButton>(w, "optRelay2Mode(2)")->isChecked());
    EXPECT_EQ(Text(w, "txtSet4"), "4'0.0\"");
    EXPECT_EQ(Get<QSpinBox>(w, "updDamp")->value(), 6);

    t.asker.answers = {MsgAnswer::Yes};
    Get<QPushButton>(w, "cmdCalibrate")->click();
    EXPECT_TRUE(test::PumpUntil(
        [&] { return term.Terminal()->toPlainText().contains("Calibration Done"); }, 3000));
    EXPECT_TRUE(term.Terminal()->toPlainText().contains("c417"));

    term.Button("cmdConfig")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(term.ConfigWindow(), w);  // hidden, not destroyed
    EXPECT_EQ(s.mirror.FirstInitDone, 0);
}

}  // namespace
}  // namespace sondix
