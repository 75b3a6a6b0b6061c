#include "host_rules.h"

#include <cctype>
#include <cmath>

namespace sondix::sim::test {

double Val(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    std::string digits;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) digits += s[i++];
    bool point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == ' ') continue;
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (c == '.' && !point) {
            point = true;
            digits += c;
        } else {
            break;
        }
    }
    if (digits.empty() || digits == "-" || digits == "+") return 0;
    return std::stod(digits);
}

long long ExpectedTerminator(int nwords, int width, int k) {
    return 2LL * (nwords / 16) + static_cast<long long>(nwords) * width + k;
}

GraphFrame FrameGraph(std::string_view answer, bool time) {
    GraphFrame f;
    const auto p = answer.find("NWORDS=");
    if (p == std::string_view::npos || p + 12 > answer.size()) return f;
    f.nwords = static_cast<int>(std::lround(Val(answer.substr(p + 7, 4))));
    if (time) {
        const auto cr = answer.find('\r', p);
        if (cr == std::string_view::npos || cr + 2 >= answer.size()) return f;
        f.headerEnd = static_cast<long long>(cr) + 1;
        f.header = std::string(answer.substr(0, cr + 1));
        f.data = std::string(answer.substr(cr + 2));
    } else {
        const auto s = answer.find("SPECTRUM MODAMP DECIMAL ");
        if (s == std::string_view::npos) return f;
        f.labelPos = static_cast<long long>(s) + 1;
        f.header = std::string(answer.substr(0, s));
        const std::string_view r = answer.substr(s + 24);
        const auto cr = r.find('\r');
        if (cr == std::string_view::npos) return f;
        f.label = std::string(r.substr(0, cr));
        f.data = std::string(r.substr(std::min(r.size(), cr + 2)));
    }
    const auto q = f.data.find("  ***  ");
    f.terminator = q == std::string::npos ? 0 : static_cast<long long>(q) + 1;
    f.ok = true;
    return f;
}

std::string Word(const std::string& data, int i, int width) {
    const std::size_t pos = static_cast<std::size_t>((i - 1) * width + 2 * ((i - 1) / 16));
    return pos < data.size() ? data.substr(pos, static_cast<std::size_t>(width)) : std::string();
}

double GetParValue(std::string_view buf, std::string_view key) {
    const auto k = buf.find(key);
    if (k == std::string_view::npos) return -2e9;
    const std::size_t start = k + key.size();
    std::size_t end = buf.size();
    std::size_t slash = 0;
    std::size_t factor = 0;
    for (std::size_t i = start; i < buf.size(); ++i) {
        const char c = buf[i];
        const bool nextDigit =
            i + 1 < buf.size() && std::isdigit(static_cast<unsigned char>(buf[i + 1]));
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) continue;
        if (c == '/' && nextDigit) {
            slash = i;
            continue;
        }
        if ((c == ' ' || c == '*') && nextDigit) {
            factor = i;
            continue;
        }
        end = i;
        break;
    }
    if (slash) {
        double d = std::nearbyint(Val(buf.substr(slash + 1, end - slash - 1)));
        if (d == 0) d = 1;
        return Val(buf.substr(start, slash - start)) / d;
    }
    if (factor) {
        return Val(buf.substr(start, factor - start)) *
               Val(buf.substr(factor + 1, end - factor - 1));
    }
    return Val(buf.substr(start, end - start));
}

std::string VariableField(std::string_view text, std::string_view key) {
    const auto p = text.find(key);
    if (p == std::string_view::npos) return {};
    const std::size_t q = p + key.size();
    auto end = text.find(' ', q + 1);
    if (end == std::string_view::npos) end = text.find('\r', q);
    if (end == std::string_view::npos) end = q + 5;
    return std::string(text.substr(q, end - q));
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from < text.size()) {
        auto lf = text.find('\n', from);
        if (lf == std::string_view::npos) lf = text.size();
        std::string line(text.substr(from, lf - from));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        from = lf + 1;
    }
    return out;
}

}  // namespace sondix::sim::test
