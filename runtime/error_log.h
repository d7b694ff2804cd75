// The runtime's log, ErrorLog.txt in the temporary folder: one line per append.
#pragma once

#include <string>

// Appends text (null: "NULL") followed by CR LF. While another process holds the file's lock
// it tries again 100 ms later, five attempts in all, then drops the line silently. A file
// that is refused (a symbolic or hard link, another user's file, not a regular file) is not
// retried: this line and every later one of the run go to a private file ErrorLog-XXXXXX in
// the temporary folder (ErrorLogFallbackPath), chosen once.
void ErrorLogAppend(const char* text);
void ErrorLogAppend(const std::string& text);

// Deletes the log so a run starts with a fresh one; the run's first line creates it again and
// holds it while the program runs. When another live program holds ErrorLog.txt, this one
// neither deletes it nor writes to it: its log is ErrorLog-<process id>.txt beside it (said
// once on standard error).
void ErrorLogReset();

// Full path of the log file: ErrorLog.txt, or this program's own log (above).
std::string ErrorLogPath();

// The private file the log went to after a refusal; empty while the log is at its path.
std::string ErrorLogFallbackPath();
