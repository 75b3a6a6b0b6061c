// Data graph answers laid out as the sensor sends them, for tests and benchmarks: a header, the
// words 16 to a line with CR LF, the terminator line.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace sondix::test {

inline constexpr const char* kSpectrumLabel = "SPECTRUM MODAMP DECIMAL ";

// Each word right-aligned in `width` characters (zero-padded when not negative).
inline std::string WordLines(const std::vector<int>& words, int width) {
    std::string out;
    char buf[16];
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] < 0) {
            std::snprintf(buf, sizeof buf, "%*d", width, words[i]);
        } else {
            std::snprintf(buf, sizeof buf, "%0*d", width, words[i]);
        }
        out += buf;
        if ((i + 1) % 16 == 0) out += "\r\n";
    }
    return out;
}

// The "D" / "y" header line: the fields stand 27, 23 and 18 characters before its CR.
inline std::string TimeHeaderLine(int nwords, int numA, int vref, int periodCode) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "NWORDS=%04d %03d %04d %06d            \r\n", nwords, numA, vref,
                  periodCode);
    return buf;
}

// The spectrum label line: label, fields, word count.
inline std::string SpectrumLabelLine(int nwords, int numA, int vrefCode, int periodCode, int numC) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s%03d %04d %06d %04d NWORDS=%04d\r\n", kSpectrumLabel, numA,
                  vrefCode, periodCode, numC, nwords);
    return buf;
}

// The position of the terminator in the data text, as the dispatcher expects it.
inline long long TerminatorPosition(int nwords, int width, int k) {
    return 2LL * (nwords / 16) + static_cast<long long>(nwords) * width + k;
}

// Header, words, the gap before the terminator, the terminator line.
inline std::string GraphAnswer(const std::string& header, const std::vector<int>& words, int width,
                               int k) {
    return header + WordLines(words, width) + std::string(static_cast<std::size_t>(k - 1), ' ') +
           "  ***  \r\n";
}

}  // namespace sondix::test
