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

bool LogFileAppendOnce(const std::string& path, const std::string& bytes) {
    // O_NONBLOCK keeps a FIFO planted at the path from hanging the open; O_NOFOLLOW refuses a
    // link, so the log can never be redirected onto another file.
    int fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW);
    if (fd == kNoFile) return false;
    bool ok = true;
    // No sharing while the line goes in: another holder of the lock makes this attempt fail.
    if (ok) ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (ok) ok = FileWriteAll(fd, bytes.data(), bytes.size());
    ::close(fd);  // also releases the lock
    return ok;
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
