#include "platform/log_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool LogFileAppendOnce(const std::string& path, const std::string& bytes) {
    // O_NONBLOCK keeps a FIFO planted at the path from hanging the open; O_NOFOLLOW refuses a
    // link, so the log can never be redirected onto another file.
    int fd = ::open(path.c_str(),
                    O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    // No sharing while the line goes in: another holder of the lock makes this attempt fail.
    if (ok) ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (ok) ok = WriteAll(fd, bytes.data(), bytes.size());
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
