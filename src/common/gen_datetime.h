// Calendar date and time as the program shows it in titles and writes it into workbooks.
#pragma once

#include <string>
#include <string_view>

namespace Gen {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const DateTime&) const = default;
};

// The general date-time text: "YYYY-MM-DD hh:nn:ss".
std::string FormatGeneral(const DateTime& t);

// Spreadsheet serial date (days since 1899-12-30, fraction of the day).
double ToSerialDate(const DateTime& t);

// Parses "YYYY-MM-DDThh:mm:ss" (or with a blank for the T); false when malformed.
bool ParseIso(std::string_view text, DateTime& out);

}  // namespace Gen
