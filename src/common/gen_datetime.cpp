// Placeholder implementation; replaced by the exact rules.
#include "common/gen_datetime.h"
#include <cstdio>
namespace Gen {
std::string FormatGeneral(const DateTime& t) { char b[32]; std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second); return b; }
double ToSerialDate(const DateTime&) { return 0; }
bool ParseIso(std::string_view, DateTime&) { return false; }
}  // namespace Gen
