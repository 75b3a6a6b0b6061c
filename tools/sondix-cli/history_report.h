// The history part of `sondix-cli decode`: each decoded history as the window received it, its
// place in the report, and its spreadsheet copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/gen_datetime.h"
#include "common/gen_hist.h"
#include "history/hist_model.h"
#include "history/hist_state.h"
#include "json_out.h"

namespace sondix {
struct Session;
}

namespace sondix::cli {

// What one display of the history window showed, with the transfer's values behind it.
struct HistorySnapshot {
    std::int16_t HistCount = 0;
    std::vector<Gen::HistoryArrays> arrays;  // one element (kept off the stack: it is large)
    HistTransferState run;
    HistModel chart;
    bool modeVelocity = false;
};

HistorySnapshot TakeHistorySnapshot(const Session& s);

// The "history" member: one object per decoded history.
Json HistoryReport(const std::vector<HistorySnapshot>& histories);

// The history window's "Excel" copy of the session's arrays; "" or the error text.
std::string WriteHistoryWorkbook(const Session& s, const Gen::DateTime& now,
                                 const std::string& path);

}  // namespace sondix::cli
