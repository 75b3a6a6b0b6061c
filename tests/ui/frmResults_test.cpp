// The results window: drawing the model and closing.
#include "history/ui/frmResults.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>

#include "session_fixture.h"

namespace sondix {
namespace {

class ClosingHost : public RecordingHost {
  public:
    frmResults* window = nullptr;
    void CloseResultsWindow() override {
        RecordingHost::CloseResultsWindow();
        if (window) window->closeFromCore();
    }
};

struct ResultsFixture : test::SessionFixture {
    ClosingHost closingHost;
    ResultsFixture() { s.io.host = &closingHost; }
};

QColor Fill(const QWidget* w) {
    return w->palette().color(QPalette::Window);
}

TEST(frmResults, RenderShowsTheModel) {
    ResultsFixture f;
    frmResults w(f.s);
    ResultsModel& r = f.s.results;
    r.txtOutputvalue = "  1.234 m";
    r.txtSigstrength = "57";
    r.pbrSigstrength = 57;
    r.SigColor = {0, 160, 0};
    r.shpRelay1 = {127, 255, 127};
    r.shpRelay2 = {127, 0, 0};
    w.Render();
    EXPECT_EQ(w.txtOutputvalue->text(), "  1.234 m");
    EXPECT_EQ(w.txtSigstrength->text(), "57");
    EXPECT_EQ(w.pbrSigstrength->value(), 57);
    EXPECT_EQ(w.txtSigstrength->palette().color(QPalette::Text), QColor(0, 160, 0));
    EXPECT_EQ(Fill(w.shpRelay1), QColor(127, 255, 127));
    EXPECT_EQ(Fill(w.shpRelay2), QColor(127, 0, 0));

    r.pbrSigstrength = 150;
    r.txtOutputvalue = "\xB5m";  // Latin-1 from the sensor
    w.Render();
    EXPECT_EQ(w.pbrSigstrength->value(), 99);
    EXPECT_EQ(w.txtOutputvalue->text(), QString::fromUtf8("\xC2\xB5m"));
}

// A close asked by the core only hides the window; the close box runs the unload once, which
// stops a running stream with "}" and gives the Results button back.
TEST(frmResults, CloseBoxUnloadsOnceAndStopsTheRunningStream) {
    ResultsFixture f;
    frmResults w(f.s);
    f.closingHost.window = &w;
    f.s.ResultDisp_Loaded = true;
    f.s.cmdRptDist.caption = "Stop";
    w.show();
    w.closeFromCore();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(f.s.ResultDisp_Loaded);
    EXPECT_EQ(f.port.sent, "");
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(f.s.ResultDisp_Loaded);
    EXPECT_EQ(f.closingHost.resultsCloses, 1);
    EXPECT_EQ(f.port.sent, "}");
    EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
}

}  // namespace
}  // namespace sondix
