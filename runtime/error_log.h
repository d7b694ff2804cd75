// The runtime's log, ErrorLog.txt in the temporary folder: one line per append.
#pragma once

#include <string>

// Appends text (null: "NULL") followed by CR LF. When the file cannot be opened (locked by
// another process, not a regular file, a symbolic link) it tries again 100 ms later, five
// attempts in all, then drops the line silently.
void ErrorLogAppend(const char* text);
void ErrorLogAppend(const std::string& text);

// Deletes the log so a run starts with a fresh one.
void ErrorLogReset();

// Full path of the log file.
std::string ErrorLogPath();
