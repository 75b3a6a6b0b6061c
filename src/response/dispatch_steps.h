// The dispatcher's answer readers and its display, logging and caret steps, shared between the
// files that implement them. ShowData (show_data.cpp) runs them in their fixed order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/platform.h"

namespace sondix {

struct Session;
struct ParserState;

namespace dispatch {

// --- Framing rules (pure) -------------------------------------------------------------------

// 512, 1024, 2048 and 4096 are the word counts a data graph header may announce.
bool ValidWordCount(int nwords);
// 1-based position at which the terminator of a data text of `nwords` words must start:
// 2 * Int(nwords / 16) + nwords * W + K (W = 4, K = 3 for "D" and "y"; W = 3, K = 2 otherwise).
long long ExpectedTerminatorPos(int nwords, char key);
// Where the terminator search starts, so that a terminator split between blocks is found.
long long TerminatorSearchStart(long long answerLen, long long blockLen);
// The text that follows the first h + 9 characters of `data`; "" when that reaches the end.
std::string TrailerAfterHeader(std::string_view data, long long h);
// Whether the header line has arrived far enough for the header step to find the first data
// character: the CR that ends it and the character after that CR.
bool HeaderLineComplete(std::string_view text, char key);
// The text without the CR and LF characters at its start.
std::string_view SkipLeadingLineEnds(std::string_view text);

// --- Readers --------------------------------------------------------------------------------

// Starts a new answer when `state` is idle, then counts the block. False when the count has
// passed the limit: the answer is abandoned (the box has been answered) and the reader stops.
bool CountBlock(Session& s, std::int16_t& state, char key);

void ReadDataGraph(Session& s, char key, std::string_view block);  // "D", "F", "[", "y"
void StopSpectrumStream(Session& s);                               // "]"
void ReadResultsStream(Session& s, std::string_view block);        // "{"
void StopResultsStream(Session& s);                                // "}"
void ReadListing(Session& s, std::string_view block);              // "P"
void ReadHistory(Session& s, std::string& block);                  // "H"
void ReadLogo(Session& s, std::string_view block);                 // "L"
void ReadTimer(Session& s, std::string_view block);                // "T"

// The Calibrate button follows the streams: off while one runs.
void SetCalibrateEnabled(Session& s, bool enabled);

// --- Display, calibrate, logging and caret steps --------------------------------------------

// Data words of a "D", "F" or "y" transfer and the body of a history answer are not shown.
bool DisplaySuppressed(const Session& s);

struct DisplayText {
    std::string text;          // backspaces applied, LF dropped, every CR followed by LF
    bool replaceLast = false;  // a leading backspace takes the box's last character
};
DisplayText EditForDisplay(std::string_view block, bool boxEmpty);

// Shows `block` at the end of the box; `block` becomes the edited text the log receives.
void DisplayStep(TextBox& txt, std::string& block);
void CalibrateStep(Session& s, std::string_view block);
void LogStep(Session& s, std::string_view block);
void CaretStep(TextBox& txt);

// The answer texts and every answer state back to idle.
void ReturnToIdle(ParserState& p);

}  // namespace dispatch
}  // namespace sondix
