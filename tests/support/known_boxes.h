// The message boxes a garbled answer may bring up: the dispatcher's framing checks, and (where
// a test allows it) its error path. Anything else is a fault.
#pragma once

#include <algorithm>
#include <iterator>
#include <string_view>

#include "terminal/headless_io.h"
#include "terminal/session.h"

namespace sondix::test {

struct KnownBox {
    std::string_view title;
    std::string_view textStart;
};

inline constexpr KnownBox kFramingBoxes[] = {
    {"Graph error", "Data graph - invalid NWORDS value"},
    {"Graph error", "Invalid transfer length: not equal NWORDS"},
    {"Graph error", "Invalid data length"},
    {"D-command fault", "Data transfer too long"},
    // The history transfer's framing checks, and a garbled record field.
    {"Hist error", "History"},
    {"Hist error", "Invalid history header format"},
    {"H-command error", "Data transfer too long"},
    {kProgramTitle, "Type mismatch i="},
    {kProgramTitle, "Overflow i="},
};

inline constexpr KnownBox kErrorBox{kProgramTitle, "Error in ShowData:"};

inline bool Is(const AskedMessage& m, const KnownBox& k) {
    return m.title == k.title && std::string_view(m.text).starts_with(k.textStart);
}

inline bool IsFramingBox(const AskedMessage& m) {
    return std::any_of(std::begin(kFramingBoxes), std::end(kFramingBoxes),
                       [&](const KnownBox& k) { return Is(m, k); });
}

}  // namespace sondix::test
