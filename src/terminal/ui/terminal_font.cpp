#include "terminal/ui/terminal_font.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace sondix {

bool MeasuresFixed(const QFont& font) {
    const QFontMetricsF m(font);
    const qreal width = m.horizontalAdvance(QChar('M'));
    if (!(width > 0)) return false;
    for (int c = 0x20; c <= 0xFF; ++c) {
        if (c >= 0x7F && c < 0xA0) continue;  // control codes have no glyph
        if (m.horizontalAdvance(QChar(c)) != width) return false;
    }
    return true;
}

QFont TerminalFont(const QString& family) {
    QFont wanted(family);
    wanted.setStyleHint(QFont::TypeWriter);
    wanted.setFixedPitch(true);
    if (MeasuresFixed(wanted)) return wanted;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(wanted.pointSizeF());
    if (MeasuresFixed(fixed)) return fixed;
    // The installed families that claim a fixed pitch, as long as one measures so.
    for (const QString& other : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(other)) continue;
        QFont candidate(other);
        candidate.setPointSizeF(wanted.pointSizeF());
        if (MeasuresFixed(candidate)) return candidate;
    }
    return fixed;
}

}  // namespace sondix
