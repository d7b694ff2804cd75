// Plain file access for the runtime: descriptors, whole reads and writes, folders.
// Paths are taken as given ('\' is the caller's business). Nothing here follows the runtime's
// rules; it only gives safe primitives (regular files only, full writes, atomic rewrites).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr int kNoFile = -1;

// Opens a regular file for reading; kNoFile for a folder, FIFO, device or missing file.
// Never blocks on a FIFO.
int FileOpenRead(const std::string& path);
// Creates (or truncates) a file for writing, mode 0644.
int FileOpenWrite(const std::string& path);
// Opens for appending, creating it when missing.
int FileOpenAppend(const std::string& path);
// Creates a new file that must not exist yet (no symbolic link is followed), mode 0600.
int FileCreateExclusive(const std::string& path);
void FileClose(int fd);

// Reads up to n bytes, retrying short reads until n arrive or the end is reached.
// Returns the number read, or -1 on an error.
int64_t FileRead(int fd, void* buf, size_t n);
// Writes all n bytes; false when any of them could not be written.
bool FileWriteAll(int fd, const void* buf, size_t n);
// whence: 0 start, 1 current, 2 end. Returns the new offset or -1.
int64_t FileSeek(int fd, int64_t offset, int whence);
// Size of an open file, -1 on error.
int64_t FileSizeOf(int fd);

// True when path names a regular file that can be opened for reading.
bool FileIsReadable(const std::string& path);
// Size of the regular file at path, -1 when it is not one or cannot be opened.
int64_t FileSizeAt(const std::string& path);
// True when anything (a file, a folder, a link's target) is at path, readable or not.
bool PathExists(const std::string& path);
bool FileRemove(const std::string& path);
// Cuts the regular file at path back to size bytes.
bool FileTruncate(const std::string& path, int64_t size);
bool FileRename(const std::string& from, const std::string& to);

// Reads a whole regular file, refusing files larger than maxBytes.
bool FileReadWhole(const std::string& path, std::string& out, size_t maxBytes);
// Replaces path by bytes: written to a temporary file beside it, flushed, then renamed into
// place, so the old file stays whole until the new one is complete.
bool FileWriteWhole(const std::string& path, const std::string& bytes);

// Temporary file beside target for a rewrite: "<target>.tmp" and six random characters,
// created exclusively (mkstemp) and locked until the commit; it takes the target's mode (0644
// for a new file). Temporaries of the same target that no writer holds any more (left by a
// killed one) are removed first. kNoFile on failure, tempPath receives the name.
int FileCreateBeside(const std::string& target, std::string& tempPath);
// Flushes and closes fd, then renames tempPath over target. Removes tempPath on failure.
bool FileCommitBeside(int fd, const std::string& tempPath, const std::string& target);

struct DirEntry {
    std::string name;
    bool isDirectory = false;
};
// Every entry of folder ("." and ".." included), in the system's order.
bool DirectoryList(const std::string& folder, std::vector<DirEntry>& out);

// Creates a fresh private folder (mode 0700, never an existing one) under parent whose name
// starts with prefix. Empty on failure.
std::string PrivateFolderCreate(const std::string& parent, const std::string& prefix);
// True when path is a real folder (not a link) of ours that only we can enter.
bool FolderIsPrivate(const std::string& path);
// Removes an empty folder.
bool FolderRemove(const std::string& path);

}  // namespace platform
