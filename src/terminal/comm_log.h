// The communications log: the file that receives every block the dispatcher hands on, and the
// File menu's opening of it.
#pragma once

#include <string>
#include <string_view>

#include "terminal/file_chooser.h"
#include "terminal/session.h"

namespace sondix {

// The open log file. Each block goes to the system in write calls of its own, with no buffer
// in the program, so everything received is in the file even when the program is killed.
class CommLog {
  public:
    CommLog() = default;
    ~CommLog() { Close(); }
    CommLog(const CommLog&) = delete;
    CommLog& operator=(const CommLog&) = delete;

    // Opens `path` for appending (created when missing; emptied first when `replace`).
    // "" or the error text.
    std::string Open(const std::string& path, bool replace);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // Appends all of `bytes`; "" or the error text. A failed write leaves the file as it was
    // before the block, so that the block written again (Retry) is there exactly once.
    std::string Write(std::string_view bytes);
    void Close();

  private:
    int fd_ = -1;
    std::string path_;
};

// The main window's caption: the program title, and " - " with the log's file name (without
// its folder) while a log is open.
std::string LogCaption(std::string_view logPath);

// "&Open Log File...": the dialog, the replace question for an existing file (Yes empties it,
// No appends, Cancel asks for another file), the open. True when the log is open now.
bool mnuOpenLog_Click(Session& s, CommLog& log, FileChooser& chooser);
// Opens `path` for appending without questions (the command line's --log); false after the
// error box.
bool OpenLogAppending(Session& s, CommLog& log, const std::string& path);

}  // namespace sondix
