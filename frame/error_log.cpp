// Interim log writer; the hardened one (retries, no symlink following) replaces it.
#include "frame/error_log.h"

#include <cstdio>
#include <cstdlib>

std::string ErrorLogPath() {
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (tmp && *tmp) ? tmp : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir + "/ErrorLog.txt";
}

void ErrorLogAppend(const char* text) {
    FILE* f = std::fopen(ErrorLogPath().c_str(), "ab");
    if (!f) return;
    std::fputs(text ? text : "NULL", f);
    std::fputs("\r\n", f);
    std::fclose(f);
}

void ErrorLogReset() { std::remove(ErrorLogPath().c_str()); }
