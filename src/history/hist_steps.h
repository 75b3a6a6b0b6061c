// The history transfer's steps, shared between the files that implement them. HistTransfer
// (hist_transfer.cpp) runs them in order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sondix {

struct Session;

namespace hist {

inline constexpr const char* kHeaderKey = "VELHIST";
inline constexpr std::int32_t kMaxAnswerLen = 256000;
inline constexpr std::int32_t kMaxHeaderSearch = 32000;

// A "Hist error" box (exclamation, OK).
void HistMessage(Session& s, const std::string& text);
// The transfer back to idle: no answer, no pending command.
void ResetTransfer(Session& s);

// The framing checks of a complete answer, then every record into the history arrays with the
// running sums of the statistics. False when nothing is to be shown.
bool DecodeRecords(Session& s);
// Time axis, order, points, footnote with the statistics, title and caption; shows the window.
void ChartHistory(Session& s);

// The status panel while an answer arrives (after each block) and when it is complete.
void ShowProgress(Session& s);
void ShowReceived(Session& s);

// Strict readings of the fields that must hold a number: "Type mismatch" when they do not.
double TimeField(std::string_view field);
std::int32_t StatusField(std::string_view field);

}  // namespace hist
}  // namespace sondix
