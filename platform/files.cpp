#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/file_open.h"

namespace platform {

int OpenRegularFile(const std::string& path, int flags) {
    if (path.empty()) return kNoFile;
    // Non-blocking so a FIFO cannot hold the open; then only a regular file is accepted.
    int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return kNoFile;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return kNoFile;
    }
    int fl = fcntl(fd, F_GETFL);
    if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    return fd;
}

int FileOpenRead(const std::string& path) {
    return OpenRegularFile(path, O_RDONLY);
}

int FileOpenWrite(const std::string& path) {
    return OpenRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC);
}

int FileOpenAppend(const std::string& path) {
    return OpenRegularFile(path, O_WRONLY | O_CREAT | O_APPEND);
}

int FileCreateExclusive(const std::string& path) {
    if (path.empty()) return kNoFile;
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd < 0 ? kNoFile : fd;
}

void FileClose(int fd) {
    if (fd >= 0) ::close(fd);
}

int64_t FileRead(int fd, void* buf, size_t n) {
    if (fd < 0) return -1;
    size_t got = 0;
    auto* p = static_cast<char*>(buf);
    while (got < n) {
        ssize_t r = ::read(fd, p + got, n - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            return got > 0 ? static_cast<int64_t>(got) : -1;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    return static_cast<int64_t>(got);
}

bool FileWriteAll(int fd, const void* buf, size_t n) {
    if (fd < 0) return false;
    size_t done = 0;
    auto* p = static_cast<const char*>(buf);
    while (done < n) {
        ssize_t w = ::write(fd, p + done, n - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

int64_t FileSeek(int fd, int64_t offset, int whence) {
    if (fd < 0) return -1;
    int w = whence == 0 ? SEEK_SET : whence == 1 ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(fd, static_cast<off_t>(offset), w);
    return r < 0 ? -1 : static_cast<int64_t>(r);
}

int64_t FileSizeOf(int fd) {
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

bool FileIsReadable(const std::string& path) {
    int fd = FileOpenRead(path);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

int64_t FileSizeAt(const std::string& path) {
    int fd = FileOpenRead(path);
    if (fd < 0) return -1;
    int64_t s = FileSizeOf(fd);
    ::close(fd);
    return s;
}

bool PathExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

bool FileRemove(const std::string& path) {
    if (path.empty()) return false;
    struct stat st;
    // Folders are not files; unlink would refuse them anyway, this keeps the intent plain.
    if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(path.c_str()) == 0;
}

bool FileTruncate(const std::string& path, int64_t size) {
    return !path.empty() && size >= 0 && ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}

bool FileRename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileReadWhole(const std::string& path, std::string& out, size_t maxBytes) {
    out.clear();
    int fd = FileOpenRead(path);
    if (fd < 0) return false;
    int64_t size = FileSizeOf(fd);
    if (size < 0 || static_cast<uint64_t>(size) > maxBytes) {
        ::close(fd);
        return false;
    }
    try {
        out.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {  // no memory for it: a failed read, not an abort
        ::close(fd);
        return false;
    }
    int64_t got = FileRead(fd, out.data(), out.size());
    ::close(fd);
    if (got < 0) {
        out.clear();
        return false;
    }
    out.resize(static_cast<size_t>(got));
    return true;
}

namespace {

// A rewrite's temporary: "<target>.tmp" and six characters mkstemp picks.
constexpr char kTempInfix[] = ".tmp";
constexpr size_t kTempRandom = 6;

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut == 0 ? 1 : cut);
}

std::string BaseOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool TempNameOf(const std::string& name, const std::string& base) {
    const std::string head = base + kTempInfix;
    if (name.size() != head.size() + kTempRandom || name.compare(0, head.size(), head) != 0)
        return false;
    for (size_t i = head.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

// A writer holds an exclusive lock on its temporary until the rename, so a temporary nobody
// holds was left by a writer that died; only regular files of ours are touched.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOf(target), base = BaseOf(target);
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    const int dirFd = ::dirfd(d);
    while (dirent* e = ::readdir(d)) {
        if (!TempNameOf(e->d_name, base)) continue;
        const int fd = ::openat(dirFd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

}  // namespace

int FileCreateBeside(const std::string& target, std::string& tempPath) {
    tempPath.clear();
    if (target.empty() || target.back() == '/') return kNoFile;
    RemoveStaleTemporaries(target);
    // A rewrite keeps the target's permissions; a new file gets 0644.
    struct stat old;
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    for (int attempt = 0; attempt < 8; ++attempt) {
        // mkstemp: an unpredictable name, created exclusively (a planted file or link there
        // only makes it pick another).
        std::string name = target + kTempInfix + std::string(kTempRandom, 'X');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) return kNoFile;
        // Locked before anything else; should a cleaner have removed it in between, the
        // name is gone (no links left) and another is made.
        struct stat st;
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        ::fchmod(fd, mode);
        tempPath = name;
        return fd;
    }
    return kNoFile;
}

bool FileCommitBeside(int fd, const std::string& tempPath, const std::string& target) {
    bool ok = fd >= 0 && ::fsync(fd) == 0;
    // Renamed while still locked, so no cleaner can take it for a dead writer's temporary.
    if (ok) ok = ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok && !tempPath.empty()) ::unlink(tempPath.c_str());
    if (fd >= 0 && ::close(fd) != 0) ok = false;
    return ok;
}

bool FileWriteWhole(const std::string& path, const std::string& bytes) {
    std::string tmp;
    int fd = FileCreateBeside(path, tmp);
    if (fd < 0) return false;
    if (!FileWriteAll(fd, bytes.data(), bytes.size())) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return false;
    }
    return FileCommitBeside(fd, tmp, path);
}

bool DirectoryList(const std::string& folder, std::vector<DirEntry>& out) {
    out.clear();
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return false;
    std::string base = folder.empty() ? std::string(".") : folder;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base.back() != '/') base += '/';
    while (dirent* e = ::readdir(d)) {
        DirEntry de;
        de.name = e->d_name;
        if (e->d_type == DT_DIR) {
            de.isDirectory = true;
        } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            de.isDirectory = ::stat((base + de.name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        out.push_back(std::move(de));
    }
    ::closedir(d);
    return true;
}

std::string PrivateFolderCreate(const std::string& parent, const std::string& prefix) {
    // Exactly one '/' between parent and name ("/" itself, or a parent given with a slash).
    std::string templ = parent;
    while (templ.size() > 1 && templ.back() == '/') templ.pop_back();
    if (templ.empty() || templ.back() != '/') templ += '/';
    templ += prefix + "XXXXXX";
    std::string buf = templ;
    // mkdtemp creates the folder exclusively with mode 0700.
    if (!::mkdtemp(buf.data())) return {};
    return buf;
}

bool FolderIsPrivate(const std::string& path) {
    struct stat st;
    return !path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 0077) == 0;
}

bool FolderRemove(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

}  // namespace platform
