// The history log: the answer to "H" (block by block from the dispatcher) or a stored file
// (whole text at once), decoded into the history arrays and shown in the history window.
#pragma once

#include <string>

namespace sondix {

struct Session;
class FileChooser;

// Takes the next block of the history answer (fromFile false) or a whole stored file (fromFile
// true; `text` is emptied once the answer is complete).
void HistTransfer(Session& s, std::string& text, bool fromFile);

// The progress of an arriving history leaves the status panel (a new command abandoned it).
void EndHistProgress(Session& s);

// "&Disp Hist File": the open dialog of the log ("Open Communications Log File"), then the file.
void mnuShowHistFile_Click(Session& s, FileChooser& chooser);

// "&Disp Hist File" once the user has chosen `path` in the open dialog ("" when cancelled): the
// file is read and handed to HistTransfer in one call.
void LoadHistoryFile(Session& s, const std::string& path);

}  // namespace sondix
