// The history log: the answer to "H" (block by block from the dispatcher) or a stored file
// (whole text at once), decoded into the history arrays and shown in the history window.
#pragma once

#include <string>

namespace sondix {

struct Session;

// Takes the next block of the history answer (fromFile false) or a whole stored file (fromFile
// true; `text` is emptied once the answer is complete).
void HistTransfer(Session& s, std::string& text, bool fromFile);

}  // namespace sondix
