// The runtime's log, ErrorLog.txt in the temporary folder: one line per append.
#pragma once

#include <string>

// Appends text (null: "NULL") followed by CR LF.
void ErrorLogAppend(const char* text);

// Deletes the log so a run starts with a fresh one.
void ErrorLogReset();

// Full path of the log file.
std::string ErrorLogPath();
