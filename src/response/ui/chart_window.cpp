#include "response/ui/chart_window.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QWidget>

#include "common/ui/twips.h"
#include "terminal/session.h"

namespace sondix {

void PlaceChartWindow(QWidget& w, double designWidth, double designHeight, double leastWidth,
                      double leastHeight) {
    w.setMinimumSize(TwipsToPixelsX(w, leastWidth), TwipsToPixelsY(w, leastHeight));
    const QSize design(TwipsToPixelsX(w, designWidth), TwipsToPixelsY(w, designHeight));
    const QScreen* screen = w.screen();
    if (!screen) {
        w.resize(design);
        return;
    }
    const QRect area = screen->availableGeometry();
    w.resize(design.boundedTo(area.size()).expandedTo(w.minimumSize()));
    w.move(area.topLeft());
}

Gen::DateTime NowOf(const Session& s) {
    if (s.io.clock) return s.io.clock->Now();
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

QString FreePath(const QString& folder, const QString& fileName) {
    const QDir dir(folder);
    QString path = dir.filePath(fileName);
    const QString stem = QFileInfo(fileName).completeBaseName();
    const QString suffix = QFileInfo(fileName).suffix();
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).%3").arg(stem).arg(n).arg(suffix));
    return path;
}

}  // namespace sondix
