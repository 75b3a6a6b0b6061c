// Decoding the data graphs "D" (time series), "F" (spectrum), "[" (repeating spectrum) and
// "y" (ramp profile) into the chart model. The framing around them is the dispatcher's.
#pragma once

namespace sondix {

struct Session;

// At the change from state 1 to 2, with the whole answer so far in parser.AnswerText: reads the
// header fields, sets HeaderText, replaces AnswerText by the data text (from the first data
// character; empty only when nothing follows the header line) and AnswerLen by its length, sets
// the chart's point count for "D", "F" and "y".
//
// Returns H, the header end from which the dispatcher keeps the trailer text (TrailerText :=
// what follows the first H + 9 characters of AnswerText as it stands when the terminator is
// found). H is a 1-based position, 0 when there is none:
// - 'D', 'y': the position of the CR that closes the header line (the first CR at or after
//   "NWORDS="), counted in the whole answer text as it was on entry (header included).
// - 'F', '[': the position of the first CR in the text r that begins right after the
//   24-character label "SPECTRUM MODAMP DECIMAL " (or 24 characters after the start of
//   "NWORDS=" when the label is absent), counted in r, not in the whole answer: in the whole
//   answer that CR stands at labelStart + 23 + H. 0 when r is empty, holds no CR, or the label
//   starts at position 24 (no fields are read then).
long long GraphHeaderStep(Session& s, char key);

// On entering state 3 (line feed seen), before the final length check: creates the chart
// window with its set-up when it is not loaded.
void EnsureGraphWindow(Session& s);

// State 3 once the length check passed: decodes the words in parser.AnswerText, scales, sets
// the axis, titles and footnote, and shows the chart.
void GraphDecodeStep(Session& s, char key);

}  // namespace sondix
