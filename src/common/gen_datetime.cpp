// Calendar date and time for titles and workbooks.
#include "common/gen_datetime.h"

#include <cstdio>

namespace Gen {
namespace {

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (the civil-from-days inverse).
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// A fixed-width field of decimal digits; false on anything else.
bool ReadField(std::string_view text, std::size_t pos, std::size_t width, int& out) {
    int v = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

}  // namespace

std::string FormatGeneral(const DateTime& t) {
    char b[64];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return b;
}

double ToSerialDate(const DateTime& t) {
    constexpr long long kDay0 = -25569;  // 1899-12-30 counted from 1970-01-01
    const int month = t.month < 1 ? 1 : (t.month > 12 ? 12 : t.month);
    const double days = static_cast<double>(DaysFromCivil(t.year, month, t.day) - kDay0);
    return days + (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
}

bool ParseIso(std::string_view text, DateTime& out) {
    if (text.size() != 19) return false;
    if (text[4] != '-' || text[7] != '-' || text[13] != ':' || text[16] != ':') return false;
    if (text[10] != 'T' && text[10] != ' ') return false;
    DateTime t;
    if (!ReadField(text, 0, 4, t.year) || !ReadField(text, 5, 2, t.month) ||
        !ReadField(text, 8, 2, t.day) || !ReadField(text, 11, 2, t.hour) ||
        !ReadField(text, 14, 2, t.minute) || !ReadField(text, 17, 2, t.second)) {
        return false;
    }
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) {
        return false;
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return false;
    out = t;
    return true;
}

}  // namespace Gen
