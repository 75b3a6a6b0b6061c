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

// Greedy word wrap at single blanks: each line fits `width` unless one word alone is wider.
// Double blanks stay inside a line (the title puts two before the date and time).
QStringList WrapWords(const QString& text, const QFontMetrics& metrics, int width);

// The lines as the chart's HTML: markup characters escaped, the first blank of each pair made
// non-breaking (HTML would merge them), several lines joined by breaks and centred.
QString ChartTitleHtml(const QStringList& lines);

}  // namespace sondix
