// The configuration screen's window: it draws the core's model, forwards typing and clicks by
// control name, and both sensor variants fit the screen (screenshots in the test output).
#include "config/ui/frmConfig.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "common/pauses.h"
#include "config/config_screen.h"
#include "response/show_data.h"
#include "sensor.h"
#include "session_fixture.h"
#include "terminal/main_window.h"

namespace sondix {
namespace {

// The screen opened on the simulated sensor's listing, which arrives during the refresh.
struct OpenScreen : test::SessionFixture {
    std::string listing;
    explicit OpenScreen(sim::Variant v) {
        sim::Config config;
        config.variant = v;
        config.firmware = v == sim::Variant::Distance ? "0.49" : "1.51";
        listing = sim::Sensor(config).Feed("P");
        clock.onEvents = [this] {
            if (clock.waits.empty() || clock.waits.back() != Gen::Pauses::kRefresh) return;
            if (s.CommandKey == KeyCode('P') && s.parser.AnswerText.empty())
                ShowData(s, term, listing);
        };
        cmdConfig_Click(s);
    }
};

template <class W>
W* Get(frmConfig& w, const char* name) {
    return qobject_cast<W*>(w.Control(QString::fromLatin1(name)));
}

// At 150 % a 1366 x 768 screen is 911 x 512 logical pixels; the window's frame and a panel take
// some of it. Fonts made 1.5 times larger instead (a desktop's font scaling) need the whole
// physical screen. The screen's whole contents are saved at their natural size for a person.
TEST(frmConfig, BothVariantsFitA1366x768ScreenAt150PercentAndWithLargeFonts) {
    const QFont normal = QApplication::font();
    for (const auto variant : {sim::Variant::Distance, sim::Variant::Velocimeter}) {
        for (const auto& [scale, room] : {std::pair{1.0, QSize(895, 470)}, {1.5, {1350, 720}}}) {
            OpenScreen f(variant);
            QFont font = normal;
            font.setPointSizeF(font.pointSizeF() * scale);
            QApplication::setFont(font);
            frmConfig w(f.s);
            w.show();
            auto* content = w.findChild<QWidget*>("content");
            content->resize(w.sizeHint());
            QApplication::processEvents();
            EXPECT_LE(w.sizeHint().width(), room.width()) << scale;
            EXPECT_LE(w.sizeHint().height(), room.height()) << scale;
            QDir().mkpath(SONDIX_TEST_OUT);
            content->grab().save(QString(SONDIX_TEST_OUT "/frmConfig-%1-font%2.png")
                                     .arg(variant == sim::Variant::Distance ? "distance" : "vel")
                                     .arg(scale * 100));
            QApplication::setFont(normal);
        }
    }
}

TEST(frmConfig, DrawsTheModelAndForwardsTypingAndClicks) {
    OpenScreen f(sim::Variant::Distance);
    frmConfig w(f.s);
    w.show();
    auto* set4 = Get<QLineEdit>(w, "txtSet4");
    EXPECT_EQ(set4->text().toStdString(), f.s.config.txtSet4.text);
    EXPECT_TRUE(Get<QRadioButton>(w, "optUnits(0)")->isChecked());

    set4->selectAll();
    QTest::keyClicks(set4, "1.25");
    Get<QPushButton>(w, "cmdSet4")->click();
    EXPECT_EQ(f.port.writes.back(), "23000125");  // long-range firmware: centimetres
    Get<QRadioButton>(w, "optUnits(2)")->click();
    EXPECT_EQ(f.port.writes.back(), "18000002");
    EXPECT_EQ(set4->text(), "1.25");
    EXPECT_FALSE(Get<QRadioButton>(w, "optUnits(0)")->isChecked());

    w.close();
    EXPECT_EQ(f.s.mirror.FirstInitDone, 0);
    EXPECT_FALSE(f.host.configWindow);
}

}  // namespace
}  // namespace sondix
