// The chart's title: the chart draws it as HTML on as many lines as it is given but cuts a line
// that is too long, so the window wraps it at blanks itself.
#pragma once

#include <QString>
#include <QStringList>

class QFontMetrics;

namespace sondix {

// A label and its value stay on one line: the blank right after "=" or "#" becomes a
// non-breaking one ("T= 30.04d", "Unit# 1047", "F= 331.6Hz").
QString KeepValuesWithLabels(QString text);

// Greedy wrap: each line fits `width` unless one word alone is wider. The title's parts are
// set apart by double blanks (the identification, the date and time, the unit's time): a line
// breaks between parts where it can and inside a part (at a single blank) only when the part
// alone is wider than a line. Double blanks stay inside a line.
QStringList WrapWords(const QString& text, const QFontMetrics& metrics, int width);

// The lines as the chart's HTML: markup characters escaped, the first blank of each pair made
// non-breaking (HTML would merge them), several lines joined by breaks and centred.
QString ChartTitleHtml(const QStringList& lines);

}  // namespace sondix
