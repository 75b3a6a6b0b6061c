// Decoding the data graphs "D" (time series), "F" (spectrum), "[" (repeating spectrum) and
// "y" (ramp profile) into the chart model. The framing around them is the dispatcher's.
#pragma once

namespace sondix {

struct Session;

// At the change from state 1 to 2, with the whole answer so far in parser.AnswerText: reads the
// header fields, sets HeaderText, replaces AnswerText by the data text (from the first data
// character) and AnswerLen by its length, sets the chart's point count for "D", "F" and "y".
// Returns H, the header end from which the dispatcher keeps the trailer text.
long long GraphHeaderStep(Session& s, char key);

// On entering state 3 (line feed seen), before the final length check: creates the chart
// window with its set-up when it is not loaded.
void EnsureGraphWindow(Session& s);

// State 3 once the length check passed: decodes the words in parser.AnswerText, scales, sets
// the axis, titles and footnote, and shows the chart.
void GraphDecodeStep(Session& s, char key);

}  // namespace sondix
