#include "common/gen_text.h"
namespace Gen {
std::size_t InStr(std::string_view hay, std::string_view needle, long long start) {
    if (start < 1 || start > static_cast<long long>(hay.size()) + 1) return 0;
    auto p = hay.find(needle, static_cast<std::size_t>(start - 1));
    return p == std::string_view::npos ? 0 : p + 1;
}
std::string Mid(std::string_view s, long long start, long long len) {
    if (start < 1) start = 1;
    if (start > static_cast<long long>(s.size())) return {};
    auto rest = s.substr(static_cast<std::size_t>(start - 1));
    if (len >= 0 && static_cast<std::size_t>(len) < rest.size()) rest = rest.substr(0, static_cast<std::size_t>(len));
    return std::string(rest);
}
std::string Left(std::string_view s, long long n) { return n <= 0 ? std::string() : std::string(s.substr(0, static_cast<std::size_t>(n))); }
std::string Right(std::string_view s, long long n) {
    if (n <= 0) return {};
    if (static_cast<std::size_t>(n) >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - static_cast<std::size_t>(n)));
}
std::string Replace(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    std::size_t i = 0;
    for (;;) {
        auto p = s.find(from, i);
        if (p == std::string_view::npos) break;
        out.append(s.substr(i, p - i));
        out.append(to);
        i = p + from.size();
    }
    out.append(s.substr(i));
    return out;
}
}  // namespace Gen
