// The main window against the simulated sensor: start-up, the identification, typing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "e2e_support.h"

namespace sondix::test {
namespace {

TEST(TerminalWithSimulator, StartupReadsTheIdentification) {
    SimulatedSession t;
    EXPECT_TRUE(t.asker.asked.empty()) << t.asker.asked[0].text;
    EXPECT_FALSE(t.s().mirror.LogoStr.empty());
    EXPECT_GT(t.s().mirror.SerNum, 0);
    EXPECT_EQ(t.s().mirror.NumberOfFFTdatapoints, 1 << static_cast<int>(t.s().mirror.Log2Nfft));
    EXPECT_NE(t.s().lblVerAndSerialNum.find(" : S/N="), std::string::npos);
    auto* label = t.w->findChild<QLabel*>("lblVerAndSerialNum");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), t.s().lblVerAndSerialNum);
    EXPECT_FALSE(t.s().GraphHeaderStr.empty());
    // The listing was shown in the terminal.
    EXPECT_TRUE(t.w->Terminal()->toPlainText().contains("BOARDID"));
    SaveScreenshot(t.w.get(), "main-window");
}

TEST(TerminalWithSimulator, RefreshReadsTheListingAgainAndTypedKeysReachTheSensor) {
    SimulatedSession t;
    t.s().mirror.SerNum = 0;
    t.w->Button("cmdRefresh")->click();
    EXPECT_GT(t.s().mirror.SerNum, 0);
    EXPECT_EQ(t.s().CommandKey, 'P');

    const int before = t.w->Terminal()->toPlainText().size();
    QTest::keyClick(t.w->Terminal(), '?');
    EXPECT_TRUE(
        PumpUntil([&] { return t.w->Terminal()->toPlainText().size() > before + 20; }, 3000));
    EXPECT_EQ(t.s().CommandKey, '?');
}

}  // namespace
}  // namespace sondix::test
