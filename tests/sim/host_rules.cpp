#include "host_rules.h"

#include <algorithm>
#include <cmath>

namespace sondix::sim::test {

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
