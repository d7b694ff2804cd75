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
