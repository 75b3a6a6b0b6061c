#include "terminal/comm_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "terminal/main_window.h"

namespace sondix {
namespace {

constexpr std::string_view kOpenTitle = "Open Communications Log File";
constexpr std::string_view kOpenFilter = "Log Files (*.LOG)|*.log|All Files (*.*)|*.*";

std::string SystemError(std::string_view lead, const std::string& path, int err) {
    return std::string(lead) + path + ": " + std::strerror(err);
}

bool OpenLog(Session& s, CommLog& log, const std::string& path, bool replace) {
    const std::string error = log.Open(path, replace);
    if (error.empty()) return true;
    ShowPortError(s, error);
    return false;
}

}  // namespace

std::string CommLog::Open(const std::string& path, bool replace) {
    Close();
    // Emptied rather than deleted: a device or pipe chosen as the log stays where it is.
    const int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (replace ? O_TRUNC : 0);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return SystemError("Cannot open the log file ", path, errno);
    fd_ = fd;
    path_ = path;
    return {};
}

std::string CommLog::Write(std::string_view bytes) {
    if (fd_ < 0) return "No log file is open";
    struct stat st {};
    const bool regular = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n >= 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (errno == EINTR) continue;
        const int err = errno;
        // Part of the block may have gone in before the disk filled up.
        if (regular && done > 0) (void)::ftruncate(fd_, st.st_size);
        return SystemError("Cannot write the log file ", path_, err);
    }
    return {};
}

void CommLog::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

std::string LogCaption(std::string_view logPath) {
    std::string caption = kProgramTitle;
    if (logPath.empty()) return caption;
    return caption + " - " + std::filesystem::path(logPath).filename().string();
}

bool OpenLogAppending(Session& s, CommLog& log, const std::string& path) {
    return OpenLog(s, log, path, false);
}

bool mnuOpenLog_Click(Session& s, CommLog& log, FileChooser& chooser) {
    for (;;) {
        const auto path = chooser.ChooseOpenFile(kOpenTitle, kOpenFilter);
        if (!path || path->empty()) return false;
        std::error_code ec;
        const bool exists = std::filesystem::exists(*path, ec);
        if (ec) {
            ShowPortError(s, "Cannot open the log file " + *path + ": " + ec.message());
            return false;
        }
        bool replace = false;
        if (exists) {
            const MsgAnswer answer =
                s.io.asker->Ask(kProgramTitle, "Replace existing file - " + *path + "?",
                                MsgButtons::YesNoCancel, MsgIcon::Question);
            if (answer == MsgAnswer::Cancel) continue;
            replace = answer == MsgAnswer::Yes;
        }
        return OpenLog(s, log, *path, replace);
    }
}

}  // namespace sondix
