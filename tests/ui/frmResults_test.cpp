// The results window: its design texts, drawing the model, the resize rules and closing.
#include "history/ui/frmResults.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <cmath>
#include <tuple>

#include "common/ui/twips.h"
#include "history/ui/results_layout.h"
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

TEST(frmResults, DesignTextsAndToolTips) {
    ResultsFixture f;
    frmResults w(f.s);
    EXPECT_EQ(w.windowTitle(), "Results");
    const QString relayTip = "green=ON, dark red=OFF";
    for (const auto& [label, text, tip] :
         {std::tuple<QLabel*, QString, QString>{w.lblOutputvalue, "OUTPUT VALUE", ""},
          {w.lblSigstrength, "SIGNAL-TO-NOISE", "logarithmic units 00-99"},
          {w.lblRelay1, "RELAY1", relayTip},
          {w.lblRelay2, "RELAY2", relayTip}}) {
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->toolTip(), tip) << text.toStdString();
    }
    EXPECT_EQ(w.txtOutputvalue->text(), "");  // no value before a reading
    EXPECT_TRUE(w.txtOutputvalue->isReadOnly());
    EXPECT_GE(w.txtOutputvalue->font().pointSize(), 24);
    EXPECT_EQ(w.pbrSigstrength->toolTip(), "logarithmic signal strength indicator 0..99");
    EXPECT_EQ(w.pbrSigstrength->maximum(), 99);
    EXPECT_EQ(Fill(w.shpRelay1), QColor(85, 85, 85));
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
    r.pbrSigstrength = -5;
    w.Render();
    EXPECT_EQ(w.pbrSigstrength->value(), 0);
}

struct SigCase {
    double innerWidthTwips;
    double sigWidthTwips;
};

class SigWidth : public ::testing::TestWithParam<SigCase> {};

// The signal-to-noise box is 30 % of the width, never under 2500 twips, and centred; the value
// box and the bar span 98 % of the width.
TEST_P(SigWidth, FollowsTheInnerWidth) {
    ResultsFixture f;
    frmResults w(f.s);
    const int W = TwipsToPixelsX(w, GetParam().innerWidthTwips);
    w.resize(W, w.height());
    w.show();
    QApplication::processEvents();
    ASSERT_EQ(w.width(), W);
    const QRect sig = w.txtSigstrength->geometry();
    EXPECT_NEAR(PixelsToTwipsX(w, sig.width()), GetParam().sigWidthTwips, 15.0);
    EXPECT_NEAR(sig.left() + sig.width() / 2.0, W / 2.0, 1.0);
    EXPECT_EQ(sig.height(), w.txtOutputvalue->height());
    EXPECT_NEAR(w.txtOutputvalue->width(), 0.98 * W, 1.0);
    EXPECT_NEAR(w.pbrSigstrength->width(), 0.98 * W, 1.0);
    // Each label stands centred over its lamp (where the lamps go: the table below).
    EXPECT_NEAR(w.lblRelay1->geometry().center().x(), w.shpRelay1->geometry().center().x(), 1);
    EXPECT_NEAR(w.lblRelay2->geometry().center().x(), w.shpRelay2->geometry().center().x(), 1);
}

INSTANTIATE_TEST_SUITE_P(Widths, SigWidth,
                         ::testing::Values(SigCase{5000, 2500}, SigCase{10000, 3000}));

struct PlaceCase {
    QSize inner;
    QRect txtSig;
    QRect lblOutput;
    QRect shpRelay1;
    QRect shpRelay2;
};

class PlaceRule : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceRule, MatchesTheTable) {
    const PlaceCase& c = GetParam();
    ResultsControlSizes s;
    s.lblOutputvalue = {100, 16};
    s.txtOutputvalue = {200, 60};
    s.pbrSigstrength = {150, 20};
    s.lblSigstrength = {120, 16};
    s.txtSigstrength = {50, 60};
    s.lblRelay1 = s.lblRelay2 = {50, 16};
    s.shpRelay1 = s.shpRelay2 = {40, 24};
    const auto p = PlaceResults(c.inner, s, 167);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->txtSigstrength, c.txtSig);
    EXPECT_EQ(p->lblOutputvalue, c.lblOutput);
    EXPECT_EQ(p->shpRelay1, c.shpRelay1);
    EXPECT_EQ(p->shpRelay2, c.shpRelay2);
    EXPECT_EQ(p->txtOutputvalue.height(), 60);
    EXPECT_EQ(p->pbrSigstrength.height(), 20);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PlaceRule,
    ::testing::Values(
        // W 400, H 300: SigW = max(120, 167); relays at 180 -+ 148, lamps at 0.7 H = 210.
        PlaceCase{{400, 300},
                  {117, 199, 167, 60},
                  {150, 6, 100, 16},
                  {32, 210, 40, 24},
                  {328, 210, 40, 24}},
        // W 1000, H 600: SigW = 300.
        PlaceCase{{1000, 600},
                  {350, 397, 300, 60},
                  {450, 11, 100, 16},
                  {110, 420, 40, 24},
                  {850, 420, 40, 24}}));

TEST(frmResults, NoInnerAreaPlacesNothingAndTheLeastInnerKeepsTheOuterLimits) {
    EXPECT_FALSE(PlaceResults({0, 300}, {}, 167));
    EXPECT_FALSE(PlaceResults({300, 0}, {}, 167));
    EXPECT_EQ(ResultsMinimumInner({100, 100}, {10, 30}, 200, 330), QSize(190, 300));
    EXPECT_EQ(ResultsMinimumInner({500, 400}, {10, 30}, 200, 330), QSize(500, 400));
}

TEST(frmResults, SnapsBackToMinimumWidthAndLoadHeight) {
    ResultsFixture f;
    frmResults w(f.s);
    const int loadHeight = w.InitialHeight();
    EXPECT_EQ(loadHeight, w.frameGeometry().height());
    w.show();
    QApplication::processEvents();
    w.resize(10, 10);
    QApplication::processEvents();
    EXPECT_GE(w.frameGeometry().width(), TwipsToPixelsX(w, 3000));
    EXPECT_GE(w.frameGeometry().height(), loadHeight);
    EXPECT_LE(w.minimumWidth(), TwipsToPixelsX(w, 3000));
}

TEST(frmResults, MinimisedWindowMovesNothing) {
    ResultsFixture f;
    frmResults w(f.s);
    w.show();
    QApplication::processEvents();
    const QRect before = w.txtSigstrength->geometry();
    w.setWindowState(Qt::WindowMinimized);
    w.resize(w.width() * 2, w.height() * 2);
    QApplication::processEvents();
    if (!(w.windowState() & Qt::WindowMinimized)) GTEST_SKIP() << "platform cannot minimise";
    EXPECT_EQ(w.txtSigstrength->geometry(), before);
}

// At its design size the window shows the longest value and the figure whole, in the large
// font, and every label and lamp inside it; the lamps show their colours.
TEST(frmResults, DesignSizeShowsEverythingWhole) {
    ResultsFixture f;
    f.s.results = {"  1.234 m", "57", 57, {0, 160, 0}, {127, 255, 127}, {127, 0, 0}};
    frmResults w(f.s);
    w.Render();
    w.show();
    QApplication::processEvents();
    QDir().mkpath(SONDIX_TEST_OUT);
    const QImage img = w.grab().toImage();
    EXPECT_TRUE(img.save(QStringLiteral(SONDIX_TEST_OUT "/frmResults.png")));
    EXPECT_EQ(img.pixelColor(w.shpRelay1->geometry().center()), QColor(127, 255, 127));

    const QFontMetrics big = w.txtOutputvalue->fontMetrics();
    EXPECT_GE(w.txtOutputvalue->width(), big.horizontalAdvance("12345.789") + 8);
    EXPECT_GE(w.txtOutputvalue->height(), big.height());
    EXPECT_GE(w.txtSigstrength->width(), big.horizontalAdvance("99") + 8);
    for (const QWidget* c : std::initializer_list<const QWidget*>{
             w.lblOutputvalue, w.txtOutputvalue, w.pbrSigstrength, w.lblSigstrength,
             w.txtSigstrength, w.lblRelay1, w.shpRelay1, w.lblRelay2, w.shpRelay2}) {
        EXPECT_TRUE(w.rect().contains(c->geometry())) << c->objectName().toStdString();
    }
    for (const QLabel* l : {w.lblOutputvalue, w.lblSigstrength, w.lblRelay1, w.lblRelay2}) {
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
    }
}

// A close asked by the core only hides the window; the close box runs the unload once, which
// stops a running stream with "}" and gives the Results button back.
TEST(frmResults, CloseBoxUnloadsOnceAndStopsARunningStream) {
    for (const bool streaming : {false, true}) {
        SCOPED_TRACE(streaming ? "streaming" : "no stream");
        ResultsFixture f;
        frmResults w(f.s);
        f.closingHost.window = &w;
        f.s.ResultDisp_Loaded = true;
        if (streaming) {
            f.s.cmdRptDist.caption = "Stop";
            f.s.SaveColor = {236, 233, 216};
        }
        w.show();
        QApplication::processEvents();
        w.closeFromCore();
        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(f.s.ResultDisp_Loaded);
        EXPECT_EQ(f.port.sent, "");

        w.show();
        QApplication::processEvents();
        EXPECT_TRUE(w.close());
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(f.s.ResultDisp_Loaded);
        EXPECT_EQ(f.closingHost.resultsCloses, 1);
        EXPECT_EQ(f.port.sent, streaming ? "}" : "");
        EXPECT_EQ(f.s.cmdRptDist.caption, "Results");
        if (streaming) {
            EXPECT_EQ(f.s.cmdRptDist.face, (Colour{236, 233, 216}));
        }
    }
}

}  // namespace
}  // namespace sondix
