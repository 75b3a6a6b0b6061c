#include "common/ui/twips.h"

#include <QPaintDevice>
#include <cmath>

namespace sondix {

namespace {

// Saturating: a huge or NaN length never overflows the int.
int RoundToPixels(double v) {
    if (!(v == v)) return 0;
    if (v > 1e9) return 1000000000;
    if (v < -1e9) return -1000000000;
    return static_cast<int>(std::lround(v));
}

}  // namespace

int TwipsToPixelsX(const QPaintDevice& device, double twips) {
    return RoundToPixels(twips * device.logicalDpiX() / kTwipsPerInch);
}

int TwipsToPixelsY(const QPaintDevice& device, double twips) {
    return RoundToPixels(twips * device.logicalDpiY() / kTwipsPerInch);
}

double PixelsToTwipsX(const QPaintDevice& device, double pixels) {
    return pixels * kTwipsPerInch / device.logicalDpiX();
}

double PixelsToTwipsY(const QPaintDevice& device, double pixels) {
    return pixels * kTwipsPerInch / device.logicalDpiY();
}

}  // namespace sondix
