// The terminal's font: columns of the sensor's listings and data words only line up when every
// character has the same width.
#pragma once

#include <QFont>
#include <QString>

namespace sondix {

// Whether every printable Latin-1 character has the same advance in `font`, as measured. The
// font's own claim (QFontInfo::fixedPitch) is not trusted: fontconfig may map a family to
// another font, and some monospaced fonts do not say so.
bool MeasuresFixed(const QFont& font);

// `family` ("Courier New" or a metric twin) when it measures fixed; otherwise the desktop's fixed
// font, otherwise the first installed family that measures fixed, at the same size.
QFont TerminalFont(const QString& family = QStringLiteral("Courier New"));

}  // namespace sondix
