// The values the history transfer keeps between its calls and while it decodes an answer.
#pragma once

#include <cstdint>
#include <vector>

namespace sondix {

struct HistTransferState {
    // Taking blocks.
    std::int32_t HeaderSearchFrom = 1;
    std::int32_t HeaderPos = 0;  // where "VELHIST" was found (1-based), 0 before
    std::int32_t PrevLen = 0;    // the answer's length before the latest block

    // Progress shown while a live answer arrives.
    std::int32_t HeaderLineEnd = 0;     // the LF that ends the header line, 0 before
    std::int32_t CountedTo = 0;         // line ends counted up to here (1-based, inclusive)
    std::int32_t LastLineEnd = 0;       // the latest LF after the header line
    std::int32_t RecordsSeen = 0;       // record lines complete so far
    std::int32_t RecordsAnnounced = 0;  // "N=" of the header line, 0 when it has none
    std::int32_t FirstLineLen = 0;      // the first record line with its line end
    std::int32_t ShownRecords = -1;     // what the status panel says now

    // Decoding.
    std::int32_t i = 0;     // record index
    std::int16_t kdeb = 0;  // stage: where a fault happened
    double t0 = 0;
    double tmin = 1e99;
    double tmax = -1e99;
    double vmax = -1e99;
    double vsum = 0;
    double HistSumSq = 0;
    std::int32_t HistN = 0;
    float HistMean = 0;
    float HistSd = 0;
    float HistRel = 0;
    double Vmax100 = 0;
    double TimeUnit = 0;
    double YScale = 0;
    std::vector<std::int32_t> HistOrder;  // HistOrder[k - 1]: the record shown as point k
};

}  // namespace sondix
