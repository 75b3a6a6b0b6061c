// Placeholder; the line decoders replace it.
#include "response/status_lines.h"
#include "terminal/session.h"
namespace sondix {
void ParseStatusListing(ResultFields&, std::string_view) {}
void ParseTimer(ResultFields&, std::string_view) {}
std::string FindRampText(std::string_view) { return {}; }
void SpectrumResultStep(Session&, std::string_view) {}
std::string SpectrumStreamFootnote(const Session&) { return {}; }
void ResultsLineStep(Session&, std::string_view) {}
Colour SignalColor(double) { return {}; }
std::string VerAndSerialLabel(const ParamMirror&) { return {}; }
std::string MakeGraphHeaderStr(const ParamMirror&) { return {}; }
}  // namespace sondix
