// Status listings, timer and ramp lines, the spectrum stream's results and statistics, the
// results stream's lines, and the unit identification.
#pragma once

#include <string>
#include <string_view>

#include "common/platform.h"
#include "config/param_mirror.h"
#include "response/parser_state.h"

namespace sondix {

struct Session;

void ParseStatusListing(ResultFields& r, std::string_view text);
void ParseTimer(ResultFields& r, std::string_view text);
std::string FindRampText(std::string_view text);

// For each complete spectrum of the "[" stream, before it is charted (h: its header text).
void SpectrumResultStep(Session& s, std::string_view h);
// The footnote that replaces the chart's after a stream spectrum was charted.
std::string SpectrumStreamFootnote(const Session& s);

// For each complete line of the "{" stream while the results window is loaded: fills the
// ResultsModel (value in the user's unit, S, bar, colours, relay lamps).
void ResultsLineStep(Session& s, std::string_view line);

Colour SignalColor(double S);

// lblVerAndSerialNum and GraphHeaderStr from the logo and serial number.
std::string VerAndSerialLabel(const ParamMirror& m);
std::string MakeGraphHeaderStr(const ParamMirror& m);

}  // namespace sondix
