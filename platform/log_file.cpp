#include "platform/log_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_open.h"
#include "platform/files.h"

namespace platform {

LogAppendResult LogFileAppend(const std::string& path, const std::string& bytes) {
    // O_NONBLOCK keeps a FIFO planted at the path from hanging the open; O_NOFOLLOW refuses a
    // link, so the log can never be redirected onto another file. A hard link passes
    // O_NOFOLLOW, so the file must also have one name only, and be ours.
    int fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW);
    if (fd == kNoFile) return LogAppendResult::Refused;
    struct stat st;
    if (::fstat(fd, &st) != 0 || st.st_nlink != 1 || st.st_uid != ::geteuid()) {
        ::close(fd);
        return LogAppendResult::Refused;
    }
    // No sharing while the line goes in: another holder of the lock makes this attempt fail.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return LogAppendResult::Busy;
    }
    const bool ok = FileWriteAll(fd, bytes.data(), bytes.size());
    ::close(fd);  // also releases the lock
    return ok ? LogAppendResult::Written : LogAppendResult::Refused;
}

namespace {
int heldLog = -1;  // the descriptor whose lock marks this process's log as live

// The file at path as a log may be: one name, ours, regular.
bool FitsForLog(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
           st.st_uid == ::geteuid();
}
}  // namespace

void LogFileRelease() {
    if (heldLog >= 0) ::close(heldLog);
    heldLog = -1;
}

bool LogFileHeldElsewhere(const std::string& path) {
    const int fd = OpenRegularFile(path, O_RDONLY | O_NOFOLLOW);
    if (fd == kNoFile) return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    // A lock of this process's own hold would answer too; the caller lets that go first.
    const bool held = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

LogHoldResult LogFileHold(const std::string& path) {
    // One hold per process: the earlier one goes first, or it would block its own retake.
    LogFileRelease();
    int fd = OpenRegularFile(path, O_RDWR | O_CREAT | O_NOFOLLOW);
    if (fd == kNoFile) return LogHoldResult::Refused;
    if (!FitsForLog(fd)) {
        ::close(fd);
        return LogHoldResult::Refused;
    }
    struct flock hold {};
    hold.l_type = F_WRLCK;
    hold.l_whence = SEEK_SET;  // l_start and l_len 0: the whole file, however long
    if (::fcntl(fd, F_OFD_SETLK, &hold) != 0) {
        ::close(fd);
        return LogHoldResult::Busy;
    }
    heldLog = fd;
    return LogHoldResult::Held;
}

bool LogFileAppendOnce(const std::string& path, const std::string& bytes) {
    return LogFileAppend(path, bytes) == LogAppendResult::Written;
}

std::string LogFileCreatePrivate(const std::string& folder, const std::string& prefix) {
    std::string name = folder + "/" + prefix + "XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return {};
    ::close(fd);
    return name;
}

void LogFileRemove(const std::string& path) {
    ::unlink(path.c_str());
}

std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (tmp && *tmp) ? tmp : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

}  // namespace platform
