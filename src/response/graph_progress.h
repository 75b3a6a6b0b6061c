// The status panel while a data graph arrives: a time series takes about 10 s at 9600 baud, and
// the user sees how far it has come and how long it will still take.
#pragma once

#include <string>
#include <string_view>

namespace sondix {

struct Session;

// Characters per second on a line with these settings ("9600,n,8,1": a start bit, the data
// bits, the parity bit, the stop bits a character); 0 when the text cannot be read.
double LineCharsPerSecond(std::string_view settings);

// "Status: data graph 1234 of 8450 characters, 7 s left" (no time without a line speed).
std::string GraphProgressText(long long received, long long total, double charsPerSecond);

// Shows the progress of the data graph being received (whenever another percent has arrived).
void ShowGraphProgress(Session& s, char key);

}  // namespace sondix
