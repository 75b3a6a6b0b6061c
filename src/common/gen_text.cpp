// Text helpers with 1-based positions; positions outside the text are clamped, never an error.
#include "common/gen_text.h"

namespace Gen {
namespace {

long long Length(std::string_view s) {
    return static_cast<long long>(s.size());
}

}  // namespace

std::size_t InStr(std::string_view hay, std::string_view needle, long long start) {
    if (start < 1 || start > Length(hay) + 1) return 0;
    const auto p = hay.find(needle, static_cast<std::size_t>(start - 1));
    return p == std::string_view::npos ? 0 : p + 1;
}

std::string Mid(std::string_view s, long long start, long long len) {
    if (start < 1) start = 1;
    if (start > Length(s)) return {};
    const auto rest = s.substr(static_cast<std::size_t>(start - 1));
    if (len < 0) return std::string(rest);
    return std::string(rest.substr(0, static_cast<std::size_t>(len)));
}

std::string Left(std::string_view s, long long n) {
    if (n <= 0) return {};
    return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string Right(std::string_view s, long long n) {
    if (n <= 0) return {};
    if (n >= Length(s)) return std::string(s);
    return std::string(s.substr(s.size() - static_cast<std::size_t>(n)));
}

std::string Replace(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    std::size_t i = 0;
    for (auto p = s.find(from); p != std::string_view::npos; p = s.find(from, i)) {
        out.append(s.substr(i, p - i));
        out.append(to);
        i = p + from.size();
    }
    out.append(s.substr(i));
    return out;
}

}  // namespace Gen
