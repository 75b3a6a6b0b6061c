// The terminal's font measures fixed whatever family is asked for and whatever the desktop maps
// it to: a proportional or missing family falls back to one whose characters all measure alike.
#include "terminal/ui/terminal_font.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace sondix {
namespace {

TEST(TerminalFont, TheChosenFontMeasuresFixed) {
    for (const char* family : {"Courier New", "DejaVu Sans", "No Such Family", "Serif"}) {
        const QFont font = TerminalFont(family);
        EXPECT_TRUE(MeasuresFixed(font))
            << family << " -> " << QFontInfo(font).family().toStdString();
    }
}

TEST(TerminalFont, AProportionalFontDoesNotMeasureFixed) {
    QFont proportional(QStringLiteral("DejaVu Sans"));
    proportional.setStyleHint(QFont::SansSerif);
    if (QFontInfo(proportional).family() != "DejaVu Sans") GTEST_SKIP() << "no DejaVu Sans";
    EXPECT_FALSE(MeasuresFixed(proportional));
}

}  // namespace
}  // namespace sondix
