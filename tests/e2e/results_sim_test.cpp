// The results window fed by the simulated sensor's repeating results.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "e2e_support.h"
#include "history/ui/frmResults.h"

namespace sondix::test {
namespace {

const std::vector<std::string> kFastResults{"--results-interval", "0.2"};

TEST(ResultsWithSimulator, ResultsOpensTheWindowAndFollowsEachLine) {
    SimulatedSession t(kFastResults);
    QPushButton* button = t.w->Button("cmdRptDist");
    button->click();
    EXPECT_EQ(button->text(), "Stop");
    ASSERT_NE(t.w->ResultsWindow(), nullptr);
    EXPECT_TRUE(t.w->ResultsWindow()->isVisible());
    // Several lines arrive: the value box leaves its design text and keeps changing.
    std::vector<std::string> values;
    ASSERT_TRUE(PumpUntil(
        [&] {
            const std::string v = t.w->ResultsWindow()->txtOutputvalue->text().toStdString();
            if (values.empty() || values.back() != v) values.push_back(v);
            return values.size() >= 3;
        },
        5000));
    EXPECT_NE(values.back(), "12345.789");
    EXPECT_EQ(t.w->ResultsWindow()->txtSigstrength->text().size(), 2);
    // The bar and the figure show the same S (an occasional loss of echo reads 00).
    EXPECT_EQ(t.w->ResultsWindow()->pbrSigstrength->value(),
              t.w->ResultsWindow()->txtSigstrength->text().toInt());
    EXPECT_NE(t.s().results.shpRelay1, (Colour{85, 85, 85}));
    SaveScreenshot(t.w->ResultsWindow(), "results-window");

    button->click();  // Stop: the window's unload sends "}"
    EXPECT_EQ(button->text(), "Results");
    EXPECT_EQ(t.w->ResultsWindow(), nullptr);
    EXPECT_EQ(t.s().CommandKey, '}');
    EXPECT_TRUE(t.asker.asked.empty());
}

TEST(ResultsWithSimulator, CloseBoxStopsTheStream) {
    SimulatedSession t(kFastResults);
    t.w->Button("cmdRptDist")->click();
    ASSERT_NE(t.w->ResultsWindow(), nullptr);
    Pump(300);
    t.w->ResultsWindow()->close();
    Pump(100);
    EXPECT_EQ(t.w->Button("cmdRptDist")->text(), "Results");
    EXPECT_EQ(t.s().CommandKey, '}');
    EXPECT_FALSE(t.s().ResultDisp_Loaded);
    // No more lines: the terminal stops growing.
    Pump(300);
    const int size = t.w->Terminal()->toPlainText().size();
    Pump(600);
    EXPECT_EQ(t.w->Terminal()->toPlainText().size(), size);
}

}  // namespace
}  // namespace sondix::test
