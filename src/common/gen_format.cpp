// Placeholder implementation; replaced by the exact rules.
#include "common/gen_format.h"
#include <cstdio>
namespace Gen {
std::string Str(double v) { char b[64]; std::snprintf(b, sizeof b, "%s%.15g", v >= 0 ? " " : "", v); return b; }
std::string StrSingle(float v) { char b[64]; std::snprintf(b, sizeof b, "%s%.7g", v >= 0 ? " " : "", v); return b; }
std::string CStr(double v) { char b[64]; std::snprintf(b, sizeof b, "%.15g", v); return b; }
std::string CStrSingle(float v) { char b[64]; std::snprintf(b, sizeof b, "%.7g", v); return b; }
std::string Format(double v, std::string_view) { return CStr(v); }
std::string FormatHMS(std::int64_t s) { char b[32]; s %= 86400; std::snprintf(b, sizeof b, "%02d:%02d:%02d", int(s / 3600), int(s / 60 % 60), int(s % 60)); return b; }
}  // namespace Gen
