#include "json_out.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace sondix::cli {

Json Latin1(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            utf8.push_back(ch);
            continue;
        }
        utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return Json(std::move(utf8));
}

Json Double(double v) {
    if (!std::isfinite(v)) return Json(nullptr);
    constexpr double kExactInt = 9007199254740992.0;  // 2^53
    if (v == std::trunc(v) && std::fabs(v) < kExactInt && !(v == 0 && std::signbit(v)))
        return Json(static_cast<std::int64_t>(v));
    return Json(v);
}

Json Float(float v) {
    if (!std::isfinite(v)) return Json(nullptr);
    // The double nearest to the float's own shortest decimal, which nlohmann prints back as that
    // decimal.
    char buf[32];
    const auto end = std::to_chars(std::begin(buf), std::end(buf), v).ptr;
    double d = 0;
    std::from_chars(buf, end, d);
    return Double(d);
}

std::string Dump(const Json& j) {
    return j.dump(-1, ' ', true);
}

}  // namespace sondix::cli
