// The main window against the simulated sensor: the start-up reads the identification through
// the real serial stack, Refresh reads it again, typed keys reach the sensor.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "e2e_support.h"

namespace sondix::test {
namespace {

TEST(TerminalWithSimulator, StartupAndRefreshReadTheIdentificationAndTypedKeysReachTheSensor) {
    SimulatedSession t;
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked[0].text;
    EXPECT_EQ(t.s().mirror.NumberOfFFTdatapoints, 1 << static_cast<int>(t.s().mirror.Log2Nfft));
    EXPECT_NE(t.s().lblVerAndSerialNum.find(" : S/N="), std::string::npos);
    EXPECT_FALSE(t.s().GraphHeaderStr.empty());
    EXPECT_TRUE(t.w->Terminal()->toPlainText().contains("BOARDID"));
    SaveScreenshot(t.w.get(), "main-window");

    t.s().mirror.SerNum = 0;
    t.w->Button("cmdRefresh")->click();
    EXPECT_GT(t.s().mirror.SerNum, 0);
    const int before = t.w->Terminal()->toPlainText().size();
    QTest::keyClick(t.w->Terminal(), '?');
    EXPECT_TRUE(
        PumpUntil([&] { return t.w->Terminal()->toPlainText().size() > before + 20; }, 3000));
    EXPECT_EQ(t.s().CommandKey, '?');
}

}  // namespace
}  // namespace sondix::test
