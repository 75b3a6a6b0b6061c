// The rules by which the host reads the sensor's answers: its own number and listing readers,
// and its framing rules written out independently of the simulator, so that the tests check the
// answers against the reader, not against themselves. Positions in comments are the reader's
// 1-based ones; the code indexes from 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/gen_number.h"
#include "config/read_par.h"

namespace sondix::sim::test {

using Gen::Val;
using sondix::GetParValue;

// The terminator's expected 1-based position in the data text.
long long ExpectedTerminator(int nwords, int width, int k);

struct GraphFrame {
    bool ok = false;
    int nwords = 0;
    std::string header;        // up to and including the header's CR ("D", "y") or the label
    std::string label;         // "F" / "[": the text after the 24-character label
    std::string data;          // from the first data character
    long long terminator = 0;  // 1-based position of "  ***  " in `data`, 0 when absent
    long long labelPos = 0;    // 1-based position of the spectrum label in the answer
    long long headerEnd = 0;   // H: 1-based position of the header line's CR ("D", "y")
};

// Frames an answer as the "D"/"y" reader does (time = true) or the "F"/"[" reader.
GraphFrame FrameGraph(std::string_view answer, bool time);

// Word i (1-based) of the data text: 16 words a line, CR LF after each line.
std::string Word(const std::string& data, int i, int width);

// The status reader's variable field ("Freq    =", "SampleT ="): from right after the key to
// the first blank after its first character, else the first CR, else 5 characters.
std::string VariableField(std::string_view text, std::string_view key);

// Lines of a text split at LF, each without its CR.
std::vector<std::string> Lines(std::string_view text);

}  // namespace sondix::sim::test
