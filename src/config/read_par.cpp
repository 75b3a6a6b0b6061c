// Placeholder; the listing reader replaces it.
#include "config/read_par.h"
namespace sondix {
float GetParValue(std::string_view, std::string_view) { return kMissing; }
std::string GetParText(std::string_view, std::string_view, std::string_view) { return {}; }
long long FindAfterKeyword(std::string_view, std::initializer_list<std::string_view>) { return 0; }
void ReadPar(ParamMirror&, std::string_view) {}
}  // namespace sondix
