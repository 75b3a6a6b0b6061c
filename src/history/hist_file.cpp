// "&Disp Hist File": a stored history (as a rule a communications log that was recording while
// an "H" answer arrived) read and decoded as one answer.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "history/hist_transfer.h"
#include "terminal/file_chooser.h"
#include "terminal/session.h"

namespace sondix {

namespace {

constexpr std::size_t kPiece = 16384;
constexpr const char* kOpenTitle = "Open Communications Log File";
constexpr const char* kOpenFilter = "Log Files (*.LOG)|*.log|All Files (*.*)|*.*";

void FileMessage(Session& s, const std::string& text) {
    if (s.io.asker != nullptr)
        s.io.asker->Ask(kProgramTitle, text, MsgButtons::OK, MsgIcon::Exclamation);
}

}  // namespace

void mnuShowHistFile_Click(Session& s, FileChooser& chooser) {
    const auto path = chooser.ChooseOpenFile(kOpenTitle, kOpenFilter);
    if (path) LoadHistoryFile(s, *path);
}

// The file is read through a stream of its own: an open communications log keeps recording
// (it may even be the file shown).
void LoadHistoryFile(Session& s, const std::string& path) {
    if (path.empty()) return;  // the dialog was cancelled
    std::error_code ec;
    const bool exists = std::filesystem::is_regular_file(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        FileMessage(s, ec.message());
        return;
    }
    if (!exists) {
        FileMessage(s, "File does not exists");
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        FileMessage(s, std::strerror(errno));
        return;
    }
    std::string text;
    char buf[kPiece];
    while (in.read(buf, kPiece) || in.gcount() > 0)
        text.append(buf, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        FileMessage(s, std::strerror(errno));
        return;
    }
    in.close();
    HistTransfer(s, text, true);
}

}  // namespace sondix
