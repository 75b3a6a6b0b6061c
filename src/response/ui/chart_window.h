// What the chart window and the history window share besides their charts: where they appear,
// the date their titles and workbooks carry, and a free name for a workbook.
#pragma once

#include <QString>

#include "common/gen_datetime.h"

class QWidget;

namespace sondix {

struct Session;

// The window at its design size (in twips; kept within the screen and no smaller than its least
// size) in the top-left corner of the screen.
void PlaceChartWindow(QWidget& w, double designWidth, double designHeight, double leastWidth,
                      double leastHeight);

// The session's clock when it has one (tests), else the system's.
Gen::DateTime NowOf(const Session& s);

// A name not yet taken in the folder (two copies within one second get " (2)", " (3)", ...).
QString FreePath(const QString& folder, const QString& fileName);

}  // namespace sondix
