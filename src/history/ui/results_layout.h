// Where the results window puts its controls for a given inner size: centred labels, the value
// box and the bar across 98 % of the width, the signal-to-noise box centred and at least
// 2500 twips wide, the relay groups 37 % of the width either side of the centre. All positions
// scale with the window; the controls keep their own sizes except where the rule says otherwise.
#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace sondix {

inline constexpr double kResultsMinOuterWidthTwips = 3000;
inline constexpr double kSigMinWidthTwips = 2500;

// The current sizes of the controls ("w" and "h" of the rule).
struct ResultsControlSizes {
    QSize lblOutputvalue, txtOutputvalue, pbrSigstrength, lblSigstrength, txtSigstrength;
    QSize lblRelay1, shpRelay1, lblRelay2, shpRelay2;
};

struct ResultsPlacement {
    QRect lblOutputvalue, txtOutputvalue, pbrSigstrength, lblSigstrength, txtSigstrength;
    QRect lblRelay1, shpRelay1, lblRelay2, shpRelay2;
};

// nullopt when the window has no inner area (the layout stays as it is).
std::optional<ResultsPlacement> PlaceResults(QSize inner, const ResultsControlSizes& c,
                                             int sigMinWidthPx);

// The inner size the window must grow to so its outer size keeps the minimum width and the
// height it had when loaded; `frameExtra` is the outer size less the inner size.
QSize ResultsMinimumInner(QSize inner, QSize frameExtra, int minOuterWidthPx,
                          int initialOuterHeightPx);

}  // namespace sondix
