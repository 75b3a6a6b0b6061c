// The response parser's state, kept between received blocks.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace sondix {

// Answer states of GraphState, AutoSpect_status and AutoResults_status.
enum AnswerState : std::int16_t {
    kIdle = 0,
    kWaitHeader = 1,
    kReceiving = 2,
    kComplete = 3,
    kFault = 4,
};

inline constexpr std::int32_t kMaxChunks = 256000;
inline constexpr const char* kTerminator = "  ***  ";

struct ParserState {
    std::int16_t GraphState = 0;
    std::int16_t NWords = 2048;
    std::int16_t AutoSpect_status = 0;
    std::int16_t AutoResults_status = 0;
    std::string AnswerText;
    std::int32_t AnswerLen = 0;
    std::string HeaderText;
    std::string TrailerText;
    std::int32_t ChunkCount = 0;
    bool ChunkTaken = false;
    // H of the last data graph header: the trailer text is what follows the first H + 9
    // characters of the data text when the terminator is found.
    long long HeaderEnd = 0;
    int ProgressShown = -1;  // the percent of the data graph last shown in the status panel
    // The repeating spectrum: what came after the terminator, the start of the next spectrum.
    std::string NextAnswer;
    // A block that arrives while ShowData is still busy with an earlier one (a box open, a
    // nested wait) waits here and is handled after it, in the line's order.
    bool InShowData = false;
    std::deque<std::string> HeldBlocks;
};

// Values read from data graph headers.
struct GraphHeaderValues {
    double VoltsPerCount = 3.68 / 1024;
    double SampleRate = 0;
    double FreqStep = 0;
    std::int16_t HeaderNumA = 0;
    std::int16_t HeaderNumC = 512;
    std::int16_t SpectZoom = 1;
};

// Result and status fields decoded from listings, headers and result lines.
struct ResultFields {
    float ResultVel = 0;
    float ResultDist = 0;
    float ResultFreq = 0;
    float ResultFdif = 0;
    std::int16_t ResultSignal = 0;
    bool ModeVelocity = false;
    float SamplePeriodUs = 1.0f;
    double SamplePeriodMs = 0.001;
    float VrefCal = 3.68f;
    double UnitTimeDays = 0;
    std::string ModeText = "Distance";
    std::string RampText;
    float ResultValue = 0;  // the current result value of the spectrum stream
};

// Running statistics of the repeating spectrum.
struct SpectrumStats {
    double StatSum = 0;
    double StatSumSq = 0;
    std::int32_t StatCount = 0;
    double Variance = 0;
    float StatMean = 0;
    float StatSd = 0;
    float StatRel = 0;
};

}  // namespace sondix
