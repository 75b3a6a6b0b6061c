// The windows' layout rules are written in twips (1440 to the inch); Qt places in pixels. The
// screen's logical resolution converts between them, so a layout keeps its proportions to the
// text whatever the display scaling.
#pragma once

class QPaintDevice;

namespace sondix {

inline constexpr double kTwipsPerInch = 1440.0;

int TwipsToPixelsX(const QPaintDevice& device, double twips);
int TwipsToPixelsY(const QPaintDevice& device, double twips);
double PixelsToTwipsX(const QPaintDevice& device, double pixels);
double PixelsToTwipsY(const QPaintDevice& device, double pixels);

}  // namespace sondix
