// Single-line appends to a log file, opened the way the runtime's log needs it: exclusively,
// never through a symbolic link, and only when the path is a regular file.
#pragma once

#include <string>

namespace platform {

// One attempt: opens path for appending (creating it with mode 0644 when missing), takes an
// exclusive lock without waiting, writes every byte and closes. False when the file cannot
// be opened or locked, is not a regular file, is a symbolic link, has other hard links, is
// not ours, or a write comes up short.
bool LogFileAppendOnce(const std::string& path, const std::string& bytes);

// The same attempt, saying why it failed: Busy (another holder of the lock, worth another
// try) or Refused (a link, a file with more than one name, another user's file, not a
// regular file, no way to open it: trying again changes nothing).
enum class LogAppendResult { Written, Busy, Refused };
LogAppendResult LogFileAppend(const std::string& path, const std::string& bytes);

// Takes path (creating it when missing) as this process's log for as long as it runs. The
// hold is a lock of its own kind on a descriptor kept open (an open-file-description lock),
// which never meets the append lock above: it only tells a second program that a live one
// writes here. Busy: a live program holds it; Refused: a link, another user's file, not a
// regular file, or no way to create it. Each call first lets the earlier hold go.
enum class LogHoldResult { Held, Busy, Refused };
LogHoldResult LogFileHold(const std::string& path);

// Lets this process's hold go.
void LogFileRelease();

// True while another live holder (another program, not this one) holds the file at path.
bool LogFileHeldElsewhere(const std::string& path);

// Creates a new private log file (mode 0600, a name nobody can guess) in folder, starting
// with prefix; its path, or empty.
std::string LogFileCreatePrivate(const std::string& folder, const std::string& prefix);

// Removes path itself (a symbolic link there is removed, its target is left alone).
void LogFileRemove(const std::string& path);

// The temporary folder: $TMPDIR when set and not empty, else /tmp; no trailing '/'.
std::string TempFolder();

}  // namespace platform
