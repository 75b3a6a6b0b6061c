#include "response/ui/chart_title.h"

#include <QFontMetrics>

namespace sondix {

QString KeepValuesWithLabels(QString text) {
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar before = text[i - 1];
        if (text[i] == QLatin1Char(' ') &&
            (before == QLatin1Char('=') || before == QLatin1Char('#'))) {
            text[i] = QChar(0xA0);
        }
    }
    return text;
}

namespace {

// Greedy word wrap of one phrase at single blanks, going on from `line`.
void WrapPhraseWords(const QString& phrase, const QFontMetrics& metrics, int width, QString& line,
                     QStringList& lines) {
    for (const QString& word : phrase.split(QLatin1Char(' '))) {
        if (line.isEmpty() && word.isEmpty() && !lines.isEmpty()) continue;  // no leading blank
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && !word.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines << line.trimmed();
            line = word;
            continue;
        }
        line = candidate;
    }
}

}  // namespace

QStringList WrapWords(const QString& text, const QFontMetrics& metrics, int width) {
    const QString pair = QStringLiteral("  ");
    const auto fits = [&](const QString& s) { return metrics.horizontalAdvance(s) <= width; };
    QStringList lines;
    QString line;
    for (const QString& phrase : text.split(pair)) {
        if (!line.isEmpty()) {
            const QString joined = line + pair + phrase;
            if (fits(joined)) {
                line = joined;
                continue;
            }
            lines << line.trimmed();
            line.clear();
        }
        if (fits(phrase)) {
            line = phrase;
            continue;
        }
        WrapPhraseWords(phrase, metrics, width, line, lines);
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

QString ChartTitleHtml(const QStringList& lines) {
    QStringList html;
    html.reserve(lines.size());
    const QString keptPair = QString(QChar(0xA0)) + QLatin1Char(' ');
    for (const QString& line : lines) {
        html << line.toHtmlEscaped().replace(QStringLiteral("  "), keptPair);
    }
    if (html.size() < 2) return html.join(QString());
    // The chart centres a one-line title itself; more lines need centring of their own.
    return QStringLiteral("<div align=\"center\">") + html.join(QStringLiteral("<br>")) +
           QStringLiteral("</div>");
}

}  // namespace sondix
