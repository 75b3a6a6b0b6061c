#include "history/ui/results_layout.h"

#include <algorithm>
#include <cmath>

namespace sondix {

namespace {

int Px(double v) {
    return static_cast<int>(std::lround(v));
}

// Left edge of a control of width w centred in W and shifted by `shift`.
int Centred(int W, int w, double shift = 0) {
    return Px((W - w) / 2.0 + shift);
}

}  // namespace

std::optional<ResultsPlacement> PlaceResults(QSize inner, const ResultsControlSizes& c,
                                             int sigMinWidthPx) {
    const int W = inner.width();
    const int H = inner.height();
    if (W <= 0 || H <= 0) return std::nullopt;
    const int hT = c.txtOutputvalue.height();
    const int sigW = std::max(Px(0.3 * W), sigMinWidthPx);
    const double relayShift = 0.37 * W;
    ResultsPlacement p;
    p.lblOutputvalue =
        QRect(QPoint(Centred(W, c.lblOutputvalue.width()), Px(0.019 * H)), c.lblOutputvalue);
    p.txtOutputvalue = QRect(Px(0.01 * W), Px(0.095 * H), Px(0.98 * W), hT);
    p.pbrSigstrength = QRect(Px(0.01 * W), Px(0.416 * H), Px(0.98 * W), c.pbrSigstrength.height());
    p.lblSigstrength =
        QRect(QPoint(Centred(W, c.lblSigstrength.width()), Px(0.586 * H)), c.lblSigstrength);
    p.txtSigstrength = QRect(Centred(W, sigW), Px(0.662 * H), sigW, hT);
    p.lblRelay1 =
        QRect(QPoint(Centred(W, c.lblRelay1.width(), -relayShift), Px(0.62 * H)), c.lblRelay1);
    p.shpRelay1 =
        QRect(QPoint(Centred(W, c.shpRelay1.width(), -relayShift), Px(0.7 * H)), c.shpRelay1);
    p.lblRelay2 =
        QRect(QPoint(Centred(W, c.lblRelay2.width(), relayShift), Px(0.62 * H)), c.lblRelay2);
    p.shpRelay2 =
        QRect(QPoint(Centred(W, c.shpRelay2.width(), relayShift), Px(0.7 * H)), c.shpRelay2);
    return p;
}

QSize ResultsMinimumInner(QSize inner, QSize frameExtra, int minOuterWidthPx,
                          int initialOuterHeightPx) {
    return {std::max(inner.width(), minOuterWidthPx - frameExtra.width()),
            std::max(inner.height(), initialOuterHeightPx - frameExtra.height())};
}

}  // namespace sondix
