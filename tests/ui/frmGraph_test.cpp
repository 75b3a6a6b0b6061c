// The chart window: drawing the model, axis ticks, layout, the spreadsheet copy and closing.
#include "response/ui/frmGraph.h"
#include "response/ui/graph_trace.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <array>
#include <cmath>
#include <utility>

#include "common/ui/twips.h"
#include "response/ui/chart_title.h"
#include "response/ui/graph_axes.h"
#include "response/ui/graph_layout.h"
#include "session_fixture.h"

namespace sondix {
namespace {

// The host as the main window behaves: closing the chart window goes back to it.
class ClosingHost : public RecordingHost {
  public:
    frmGraph* window = nullptr;
    void CloseGraphWindow() override {
        RecordingHost::CloseGraphWindow();
        if (window) window->closeFromCore();
    }
};

struct GraphFixture : test::SessionFixture {
    ClosingHost closingHost;
    GraphFixture() { s.io.host = &closingHost; }
};

// A "D" time series as the decoder leaves it: 0.2 ms apart, a sine around 1.84 V.
void FillTimeSeries(GraphModel& g, int n) {
    g.SetNPoints(n);
    for (int i = 1; i <= n; ++i) {
        g.SetData(i, static_cast<float>(i - 1) * 0.2f,
                  1.84f + 1.5f * std::sin(static_cast<float>(i) * 0.02f));
    }
    g.XAxisScaleFact = 0.2f;
    g.title = "Time Series Unit#1234  2026-12-06 12:00:00";
    g.caption = "Radar Signal Time Series V3.58";
    g.footnote = "D command (AltPrtScr=copy graph window)   Npoints= 2048 RAMP UP";
    g.xLabelFontSize = 10;
    g.divisionsPerLabel = 251;
    g.divisionsPerTick = 125;
}

// Pixels of exactly the data pen's colour inside the plot area (antialiasing is off).
int DataPixels(frmGraph& w) {
    const QImage img = w.chartEchoProf->grab().toImage();
    const QRect plot = w.chartEchoProf->mapFromScene(w.chart()->plotArea()).boundingRect();
    int count = 0;
    for (int y = std::max(0, plot.top()); y <= std::min(img.height() - 1, plot.bottom()); ++y) {
        for (int x = std::max(0, plot.left()); x <= std::min(img.width() - 1, plot.right()); ++x) {
            if ((img.pixel(x, y) & 0xFFFFFF) == (qRgb(0, 0, 127) & 0xFFFFFF)) ++count;
        }
    }
    return count;
}

TEST(frmGraph, RendersTextsAxesAndTheDataLineThenTheNextAnswerInTheSameSeries) {
    GraphFixture f;
    FillTimeSeries(f.s.graph, 2048);
    frmGraph w(f.s);
    w.Render();

    EXPECT_EQ(w.dataTrace()->count(), 2048);
    EXPECT_EQ(w.dataTrace()->points().at(2047), QPointF(2047 * 0.2f, f.s.graph.points[2047].y));
    ASSERT_EQ(w.zeroSeries()->count(), 2);
    EXPECT_EQ(w.zeroSeries()->at(0).y(), 0.0);
    EXPECT_FLOAT_EQ(w.zeroSeries()->at(1).x(), 2047 * 0.2f);
    EXPECT_EQ(w.windowTitle(), "Radar Signal Time Series V3.58");
    EXPECT_EQ(w.chart()->title(),
              QString("Time Series Unit#1234") + QChar(0xA0) + " 2026-12-06 12:00:00");
    // The count stays on the line of its label.
    EXPECT_EQ(w.lblFootnote->text(), QString("D command (AltPrtScr=copy graph window)   Npoints=") +
                                         QChar(0xA0) + "2048 RAMP UP");
    EXPECT_EQ(w.axisX()->titleText(), "ms");
    EXPECT_EQ(w.axisY()->titleText(), "Volts");
    EXPECT_EQ(w.axisX()->labelsFont().pointSize(), 10);
    EXPECT_EQ(w.axisY()->titleFont().pointSize(), 14);
    EXPECT_DOUBLE_EQ(w.axisY()->min(), -0.5);
    EXPECT_DOUBLE_EQ(w.axisY()->max(), 4.0);
    EXPECT_EQ(w.axisY()->tickCount(), 10);  // 9 major divisions
    EXPECT_DOUBLE_EQ(w.axisX()->min(), 0.0);
    EXPECT_FLOAT_EQ(w.axisX()->max(), 2047 * 0.2f);
    EXPECT_EQ(w.axisX()->tickType(), QValueAxis::TicksDynamic);
    EXPECT_NEAR(w.axisX()->tickInterval(), 251 * 0.2, 1e-4);
    EXPECT_EQ(w.axisX()->minorTickCount(), 1);
    EXPECT_EQ(w.axisX()->labelFormat(), "%d");
    EXPECT_EQ(w.cmdDumpChart->text(), "Excel");

    w.show();
    QApplication::processEvents();
    QDir().mkpath(SONDIX_TEST_OUT);
    EXPECT_TRUE(w.grab().save(QStringLiteral(SONDIX_TEST_OUT "/frmGraph.png")));
    const QRectF plot = w.chart()->plotArea();
    ASSERT_GT(plot.width(), 100);
    // A sine over the whole width draws at least one pixel per column.
    EXPECT_GE(DataPixels(w), static_cast<int>(plot.width() * 0.9));

    // The next answer replaces the points in the same series and axes.
    GraphTrace* data = w.dataTrace();
    QValueAxis* x = w.axisX();
    FillTimeSeries(f.s.graph, 512);
    f.s.graph.caption = "Radar Signal Power Spectrum V3.58";
    w.Render();
    EXPECT_EQ(w.dataTrace(), data);
    EXPECT_EQ(w.axisX(), x);
    EXPECT_EQ(w.chart()->series().size(), 1);
    EXPECT_EQ(w.chart()->axes().size(), 2);
    EXPECT_EQ(w.dataTrace()->count(), 512);
    EXPECT_FLOAT_EQ(w.axisX()->max(), 511 * 0.2f);
    EXPECT_EQ(w.windowTitle(), "Radar Signal Power Spectrum V3.58");
    f.s.graph.SetNPoints(0);
    w.Render();
    QApplication::processEvents();
    EXPECT_EQ(DataPixels(w), 0) << "the count sees only the data line";
}

TEST(frmGraph, AutomaticYAxisFitsTheData) {
    GraphFixture f;
    GraphModel& g = f.s.graph;
    g.SetNPoints(3);
    g.SetData(1, 0, 0.2f);
    g.SetData(2, 10, 7.3f);
    g.SetData(3, 20, 1.0f);
    g.yAxisAuto = true;
    frmGraph w(f.s);
    w.Render();
    EXPECT_LE(w.axisY()->min(), 0.2);
    EXPECT_GE(w.axisY()->max(), 7.3);
    EXPECT_LE(w.axisY()->max() - w.axisY()->min(), 2 * 7.1);
}

struct TickCase {
    int perLabel;
    int perTick;
    float scale;
    float lastX;
    bool dynamic;
    double interval;
    int minor;
};

class XTicks : public ::testing::TestWithParam<TickCase> {};

// A label every d points is a tick every d x steps; ticks between labels are minor ticks.
TEST_P(XTicks, DivisionsBecomeValueAxisTicks) {
    const TickCase& c = GetParam();
    GraphModel g;
    g.SetNPoints(2);
    g.SetData(2, c.lastX, 0);
    g.divisionsPerLabel = c.perLabel;
    g.divisionsPerTick = c.perTick;
    g.XAxisScaleFact = c.scale;
    const XAxisTicks t = XAxisTicksFor(g);
    EXPECT_EQ(t.dynamic, c.dynamic);
    if (c.dynamic) {
        EXPECT_NEAR(t.interval, c.interval, 1e-4);
        // Just after 0, so that 69.9999 (70 in steps of 0.7f) is labelled 70.
        EXPECT_GT(t.anchor, 0.0);
        EXPECT_LT(t.anchor, c.interval * 1e-5);
    }
    EXPECT_EQ(t.minorCount, c.minor);
    EXPECT_FLOAT_EQ(t.max, c.lastX);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XTicks,
    ::testing::Values(TickCase{251, 125, 0.2f, 409.4f, true, 50.2, 1},  // 2048-point "D"
                      TickCase{51, 10, 0.2f, 102.2f, true, 10.2, 4},    // 512 points: m = 5
                      TickCase{41, 20, 24.4140625f, 24975.6f, true, 1000.9765625, 1},  // spectrum
                      TickCase{1, 1, 0.0f, 10.0f, false, 0, 0},         // before any transfer
                      TickCase{1, 1, 0.001f, 400.0f, false, 0, 0},      // too many labels
                      TickCase{100, 0, 1.0f, 1000.0f, true, 100, 0},    // no tick spacing
                      TickCase{100, 1, 1.0f, 1000.0f, true, 100, 9}));  // capped minor ticks

struct StrideCase {
    double axisPx;
    double labelPx;
    int stride;
};

class LabelStrides : public ::testing::TestWithParam<StrideCase> {};

// Ticks 0..100 every 10: eleven labels, each given the axis width / 11 less 4 px either side.
TEST_P(LabelStrides, ShowEveryFirstSecondOrFifthLabelThatFits) {
    XAxisTicks t;
    t.max = 100;
    t.dynamic = true;
    t.interval = 10;
    EXPECT_EQ(LabelStride(t, GetParam().axisPx, GetParam().labelPx), GetParam().stride);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, LabelStrides,
    ::testing::Values(StrideCase{1100, 50, 1},    // 100 - 8 = 92 px each
                      StrideCase{1100, 92, 1},    // just fits
                      StrideCase{1100, 92.5, 2},  // six labels: 183 - 8 px
                      StrideCase{550, 50, 2},     // 50 - 8 < 50; six: 91.7 - 8
                      StrideCase{330, 50, 5},     // six: 55 - 8 < 50; three: 110 - 8
                      StrideCase{100, 50, 20},    // two (0, 100): 42 < 50; one: 92
                      StrideCase{100, 1000, 100}, StrideCase{0, 50, 1},  // not laid out yet
                      StrideCase{550, 0, 1}));

struct YStrideCase {
    double min, max;
    int tickCount;
    double axisPx;
    int stride;
    double interval;
    double anchor;
    int minor;
};

class YLabelStrides : public ::testing::TestWithParam<YStrideCase> {};

// A fixed y scale keeps its divisions as ticks; only its labels thin out, keeping 0 labelled.
TEST_P(YLabelStrides, FitTheHeightAndKeepZero) {
    const YStrideCase& c = GetParam();
    YAxisTicks t;
    t.min = c.min;
    t.max = c.max;
    t.tickCount = c.tickCount;
    const int stride = LabelStride(t, c.axisPx, 14);
    EXPECT_EQ(stride, c.stride);
    const YAxisTicks out = WithLabelStride(t, stride);
    EXPECT_EQ(out.dynamic, c.stride > 1);
    EXPECT_EQ(out.min, c.min);
    EXPECT_EQ(out.max, c.max);
    if (!out.dynamic) {
        EXPECT_EQ(out.tickCount, c.tickCount);
        return;
    }
    EXPECT_NEAR(out.interval, c.interval, 1e-9);
    EXPECT_NEAR(out.anchor, c.anchor, 1e-9);
    EXPECT_EQ(out.minorCount, c.minor);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, YLabelStrides,
    ::testing::Values(YStrideCase{-0.5, 4.0, 10, 220, 1, 0, 0, 0},  // 22 - 8 = 14 px each
                      YStrideCase{-0.5, 4.0, 10, 150, 2, 1.0, 0, 1},
                      YStrideCase{-0.5, 4.0, 10, 60, 5, 2.5, 0, 4},
                      YStrideCase{-4, 6, 6, 80, 2, 4, 0, 1},           // a ramp's range
                      YStrideCase{0.3, 4.3, 5, 70, 2, 2, 0.3, 1},      // 0 outside: the bottom
                      YStrideCase{-0.7, 4.3, 6, 70, 2, 2, -0.7, 1}));  // 0 between divisions

// Ticks the rule does not space (a fixed count before any transfer, an automatic y scale)
// are left to the axis.
TEST(LabelStrides, TicksNotSpacedByTheRuleAreLeftAlone) {
    const XAxisTicks x;
    EXPECT_EQ(LabelStride(x, 10, 1000), 1);
    EXPECT_EQ(WithLabelStride(x, 5).fixedCount, x.fixedCount);
    YAxisTicks y;
    y.max = 7.3;
    y.tickCount = 5;
    y.nice = true;
    EXPECT_EQ(LabelStride(y, 10, 14), 1);
    EXPECT_FALSE(WithLabelStride(y, 5).dynamic);
}

// The labels left out stay ticks: the tick spacing is kept while the minor count allows it.
TEST(ThinnedTicks, KeepTheRulesTickSpacing) {
    // {minor ticks, label stride, minor ticks after}; 24 is capped.
    for (const auto [minor, stride, after] :
         {std::array{1, 1, 1}, {1, 2, 3}, {0, 2, 1}, {1, 5, 9}, {4, 5, 9}}) {
        XAxisTicks t;
        t.max = 9990;
        t.dynamic = true;
        t.interval = 507.8;
        t.anchor = 507.8 * kTickAnchorFraction;
        t.minorCount = minor;
        const XAxisTicks out = WithLabelStride(t, stride);
        EXPECT_DOUBLE_EQ(out.interval, 507.8 * stride);
        EXPECT_DOUBLE_EQ(out.anchor, out.interval * kTickAnchorFraction);
        EXPECT_EQ(out.minorCount, after) << minor << " minor ticks, stride " << stride;
        EXPECT_EQ(out.max, t.max);
    }
}

const QString kNbsp(QChar(0xA0));

TEST(ChartTitle, BlankAfterEqualsOrHashDoesNotBreak) {
    const std::pair<QString, QString> cases[] = {
        {"12:00:00  T= 30.04d", "12:00:00  T=" + kNbsp + "30.04d"},
        {"Unit# 1047,FMCW", "Unit#" + kNbsp + "1047,FMCW"},
        {"F= 331.6Hz, S= 24", "F=" + kNbsp + "331.6Hz, S=" + kNbsp + "24"},
        {"x=  y", "x=" + kNbsp + " y"},
        {" = ", " =" + kNbsp},
        {"Xavr=5063.0", "Xavr=5063.0"},
        {"", ""}};
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(KeepValuesWithLabels(text), shown);
}

TEST(ChartTitle, HtmlEscapesMarkupKeepsDoubleBlanksAndBreaksLines) {
    const std::pair<QStringList, QString> cases[] = {
        {{"Spectrum"}, "Spectrum"},
        {{"A<B & C>D"}, "A&lt;B &amp; C&gt;D"},
        {{"Unit#1  2026"}, "Unit#1" + kNbsp + " 2026"},
        {{"Spectrum Unit#1", "2026-12-06"},
         "<div align=\"center\">Spectrum Unit#1<br>2026-12-06</div>"},
        {{QString(QChar(0xB5)) + "Wave"}, QString(QChar(0xB5)) + "Wave"}};
    for (const auto& [lines, html] : cases)
        EXPECT_EQ(ChartTitleHtml(lines), html);
}

struct WrapCase {
    QString title;
    QString widthOf;  // the chart is as wide as this text
    QStringList lines;
};

class TitleWrap : public ::testing::TestWithParam<WrapCase> {};

// The title breaks between its parts (identification, date and time, unit time) first.
TEST_P(TitleWrap, BreaksBetweenPartsFirst) {
    const QFontMetrics fm(QFont("Arial", 12));
    const WrapCase& c = GetParam();
    EXPECT_EQ(WrapWords(c.title, fm, fm.horizontalAdvance(c.widthOf)), c.lines);
}

const QString kSpectrumTitle =
    KeepValuesWithLabels("Spectrum Unit# 1047,FMCW RADAR Ver0.47  2026-12-06 22:51:03  T= 30.04d");
const QString kTimeTitle = KeepValuesWithLabels(
    "Time Series Unit# 1047,FMCW RADAR Ver0.47  2026-12-06 22:29:41  T= 30.04d");

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleWrap,
    ::testing::Values(
        WrapCase{kSpectrumTitle,
                 "Spectrum Unit# 1047,FMCW RADAR Ver0.47  2026-12-06",
                 {"Spectrum Unit#" + kNbsp + "1047,FMCW RADAR Ver0.47",
                  "2026-12-06 22:51:03  T=" + kNbsp + "30.04d"}},
        WrapCase{kTimeTitle,
                 "Time Series Unit# 1047,FMCW RADAR Ver0.47  2026-12-06 22:29:41  T=",
                 {"Time Series Unit#" + kNbsp + "1047,FMCW RADAR Ver0.47  2026-12-06 22:29:41",
                  "T=" + kNbsp + "30.04d"}},
        WrapCase{kTimeTitle, kTimeTitle + kTimeTitle, {kTimeTitle}},  // a wide chart: one line
        WrapCase{"", "", {""}}, WrapCase{"Supercalifragilistic", "S", {"Supercalifragilistic"}}));

TEST(frmGraph, TitleWrapsInsideAPartAtBlanksWithinTheWidth) {
    const QFontMetrics fm(QFont("Arial", 12));
    const QString title = "Spectrum Unit#1234,RADAR LEVEL SENSOR 24 GHz FMCW  2026-12-06 12:00:00";
    const int width = fm.horizontalAdvance("Spectrum Unit#1234,RADAR LEVEL");
    const QStringList lines = WrapWords(title, fm, width);
    ASSERT_GT(lines.size(), 1);
    for (const QString& line : lines) {
        EXPECT_LE(fm.horizontalAdvance(line), width) << line.toStdString();
        EXPECT_FALSE(line.startsWith(' ')) << line.toStdString();
    }
    EXPECT_EQ(lines.join(' ').simplified(), title.simplified());
}

TEST(frmGraph, LongTitleIsWrappedToTheChartWidth) {
    GraphFixture f;
    f.s.graph.title =
        "Spectrum Unit#1234,RADAR LEVEL SENSOR 24 GHz FMCW long identification "
        "text  2026-12-06 12:00:00  T= 12.34d";
    frmGraph w(f.s);
    w.resize(400, 400);
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(w.chart()->title().contains("<br>"));
    w.resize(2000, 400);
    QApplication::processEvents();
    EXPECT_FALSE(w.chart()->title().contains("<br>"));
}

// Opens at the screen's top-left corner; the chart takes the window less the 800-twip strip,
// which holds the copy button with the status line beside it.
TEST(frmGraph, OpensTopLeftAndGivesTheChartAllButTheButtonStrip) {
    GraphFixture f;
    frmGraph w(f.s);
    const QRect area = w.screen()->availableGeometry();
    EXPECT_EQ(w.pos(), area.topLeft());
    EXPECT_LE(w.width(), area.width());
    EXPECT_LE(w.height(), area.height());
    const int strip = TwipsToPixelsY(w, kGraphButtonStripTwips);
    EXPECT_GT(w.minimumHeight(), strip) << "the least size keeps the resize rule working";

    w.resize(700, 500);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.chartEchoProf->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(w.chartEchoProf->width(), 700);
    EXPECT_EQ(w.chartEchoProf->height() + w.lblFootnote->height(), 500 - strip);
    EXPECT_EQ(w.cmdDumpChart->y(), 500 - strip);
    EXPECT_EQ(w.lblStatus->y(), w.cmdDumpChart->y());
    EXPECT_GT(w.lblStatus->x(), w.cmdDumpChart->geometry().right());
}

struct LayoutCase {
    QSize inner;
    int noteH;
    bool laidOut;
    QRect chart;
    QRect button;
};

class GraphLayoutRule : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(GraphLayoutRule, PlacesChartAndButton) {
    const LayoutCase& c = GetParam();
    const auto l = GraphLayoutFor(c.inner, 53, c.noteH, QSize(80, 28), 8);
    ASSERT_EQ(l.has_value(), c.laidOut);
    if (!l) return;
    EXPECT_EQ(l->chart, c.chart);
    EXPECT_EQ(l->button, c.button);
    EXPECT_EQ(l->footnote.top(), c.chart.bottom() + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GraphLayoutRule,
    ::testing::Values(LayoutCase{{700, 500}, 20, true, {0, 0, 700, 427}, {0, 447, 80, 28}},
                      LayoutCase{{300, 54}, 0, true, {0, 0, 300, 1}, {0, 1, 80, 28}},
                      LayoutCase{{300, 53}, 0, false, {}, {}},  // not above the strip
                      LayoutCase{{300, 153}, 90, true, {0, 0, 300, 50}, {0, 100, 80, 28}}));

// The texts the chart draws: those it had to cut to "...", and the numbers shown below the plot
// (x labels) and left of it (y labels).
struct DrawnTexts {
    QStringList cut;
    int xLabels = 0;
    int yLabels = 0;
};

DrawnTexts Drawn(frmGraph& w) {
    DrawnTexts d;
    const QRectF plot = w.chart()->plotArea();
    for (QGraphicsItem* item : w.chartEchoProf->scene()->items()) {
        const auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (!text || !text->isVisible()) continue;
        const QString s = text->toPlainText();
        if (s.contains(QLatin1String("..."))) d.cut << s;
        bool number = false;
        s.toDouble(&number);
        if (!number) continue;
        const QPointF at = text->mapToScene(text->boundingRect().center());
        if (at.y() > plot.bottom()) ++d.xLabels;
        if (at.x() < plot.left()) ++d.yLabels;
    }
    return d;
}

// A 1024-point "F" spectrum of 0.05 ms sampling as the decoder leaves it: last x 9990 Hz,
// a label every 52 points (507 Hz), a tick every 26, labels 7 points high.
void FillSpectrum(GraphModel& g) {
    const float step = 9.765625f;
    g.SetNPoints(1024);
    for (int i = 1; i <= 1024; ++i) {
        g.SetData(i, static_cast<float>(i - 1) * step, 0.05f + (i == 35 ? 0.6f : 0.0f));
    }
    g.chartKind = 0;
    g.XAxisScaleFact = step;
    g.xAxisTitle = "Hz";
    g.xLabelFontSize = 7;
    g.yAxisAuto = true;
    g.divisionsPerLabel = 52;
    g.divisionsPerTick = 26;
    g.title = "Spectrum Unit# 1047,FMCW RADAR Ver0.47  2026-12-06 22:29:44  T= 30.04d";
    g.caption = "Radar Signal Power Spectrum V3.58";
    g.footnote =
        "F command (AltPrtScr=copy graph window)   Npoints= 1024, Dist= 5102mm, F= 332.19Hz, "
        "S= 23 RAMP DOWN";
}

struct SizeCase {
    int width;
    int height;
    bool spectrum;
};

class ReadableAtAnySize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ReadableAtAnySize, NoTextIsCutAndSomeLabelsShow) {
    GraphFixture f;
    if (GetParam().spectrum) {
        FillSpectrum(f.s.graph);
    } else {
        FillTimeSeries(f.s.graph, 2048);
    }
    frmGraph w(f.s);
    w.show();
    w.resize(GetParam().width, GetParam().height);  // below the least size: the least size
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();  // the plot area settles
    w.Render();
    QApplication::processEvents();
    const DrawnTexts d = Drawn(w);
    EXPECT_TRUE(d.cut.isEmpty()) << d.cut.join(" | ").toStdString();
    EXPECT_GE(d.xLabels, 3);
    EXPECT_GE(d.yLabels, 3);
    EXPECT_GE(w.chart()->plotArea().height(), 80) << "the texts leave room for the plot";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadableAtAnySize,
                         ::testing::Values(SizeCase{100, 100, true}, SizeCase{560, 420, true},
                                           SizeCase{900, 500, true}, SizeCase{1600, 900, true},
                                           SizeCase{100, 100, false}, SizeCase{900, 500, false}));

class DumpFixture : public ::testing::Test {
  protected:
    GraphFixture f;
    QTemporaryDir dir;
    frmGraph w{f.s};
    QStringList opened;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        FillTimeSeries(f.s.graph, 2048);
        f.s.GraphHeaderStr = "Unit#1234";
        w.Render();
        w.setDumpFolder([this] { return dir.path(); });
        w.setOpener([this](const QString& p) {
            opened << p;
            return true;
        });
    }
    QColor Face() const { return w.cmdDumpChart->palette().color(QPalette::Button); }
};

TEST_F(DumpFixture, WritesTheWorkbookAndOpensIt) {
    const QColor face = Face();
    w.cmdDumpChart->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], dir.filePath("Sondix chart 2026-12-06 12-00-00.xlsx"));
    EXPECT_TRUE(QFileInfo::exists(opened[0]));
    EXPECT_EQ(w.lblStatus->text(), "Saved to " + QDir::toNativeSeparators(opened[0]));
    EXPECT_FALSE(w.DumpBusy());
    EXPECT_EQ(Face(), face);

    w.cmdDumpChart_Click();  // same second: a second name, the first file stays
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1], dir.filePath("Sondix chart 2026-12-06 12-00-00 (2).xlsx"));
}

TEST_F(DumpFixture, LongFolderIsShortenedInTheMiddle) {
    const QString folder =
        dir.filePath("service reports of the radar level sensors/site north/tank farm 12");
    ASSERT_TRUE(QDir().mkpath(folder));
    w.setDumpFolder([&] { return folder; });
    w.show();
    w.resize(w.minimumSize());
    QApplication::processEvents();
    w.cmdDumpChart_Click();
    ASSERT_EQ(opened.size(), 1);
    const QString text = w.lblStatus->text();
    EXPECT_TRUE(text.startsWith("Saved to ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("12-00-00.xlsx")) << text.toStdString();
    EXPECT_TRUE(text.contains(QChar(0x2026))) << text.toStdString();
    EXPECT_LE(w.lblStatus->fontMetrics().horizontalAdvance(text), w.lblStatus->width());
    EXPECT_EQ(w.lblStatus->toolTip(), QDir::toNativeSeparators(opened[0]));

    w.resize(3000, w.height());  // wide enough again: the whole text
    QApplication::processEvents();
    EXPECT_EQ(w.lblStatus->text(), "Saved to " + QDir::toNativeSeparators(opened[0]));
}

TEST_F(DumpFixture, SecondClickWhileCopyingDoesNothing) {
    QColor during;
    bool busyDuring = false;
    w.setOpener([&](const QString& p) {
        opened << p;
        during = Face();
        busyDuring = w.DumpBusy();
        w.cmdDumpChart_Click();
        return true;
    });
    w.cmdDumpChart_Click();
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(during, QColor(255, 127, 127));
    EXPECT_TRUE(busyDuring);
    EXPECT_FALSE(w.DumpBusy());
}

TEST_F(DumpFixture, UnwritableFolderIsReportedAndTheButtonRestored) {
    const QColor face = Face();
    w.setDumpFolder([] { return QStringLiteral("/nonexistent-sondix-folder/deeper"); });
    w.cmdDumpChart_Click();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].title, "Graph error");
    EXPECT_EQ(f.asker.asked[0].text.rfind("Spreadsheet copy failed: ", 0), 0u);
    EXPECT_EQ(f.asker.asked[0].buttons, MsgButtons::OK);
    EXPECT_EQ(f.asker.asked[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Face(), face);
    EXPECT_FALSE(w.DumpBusy());
    EXPECT_EQ(w.lblStatus->text(), "");

    w.setDumpFolder([this] { return dir.path(); });
    w.cmdDumpChart_Click();
    EXPECT_EQ(opened.size(), 1) << "the next click copies again";
}

TEST(frmGraph, DefaultFolderIsWritable) {
    const QFileInfo info(frmGraph::DefaultDumpFolder());
    EXPECT_TRUE(info.isDir());
    EXPECT_TRUE(info.isWritable());
}

// A close asked by the core only hides the window; the close box runs the unload, once.
TEST(frmGraph, CloseBoxUnloadsOnceAndACloseByTheCoreDoesNot) {
    GraphFixture f;
    frmGraph w(f.s);
    f.closingHost.window = &w;
    f.s.D_GraphLoaded = true;
    w.show();
    QApplication::processEvents();
    w.closeFromCore();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(f.s.D_GraphLoaded);
    EXPECT_EQ(f.closingHost.graphCloses, 0);

    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(f.s.D_GraphLoaded);
    EXPECT_EQ(f.closingHost.graphCloses, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.port.sent, "") << "no spectrum stream was running";
}

}  // namespace
}  // namespace sondix
