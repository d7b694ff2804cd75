#include "platform/paths.h"

#include <unistd.h>

#include <climits>
#include <string>

namespace platform {

std::string ExecutablePath() {
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return {};
    return std::string(buf, static_cast<size_t>(n));
}

std::string CurrentFolderGet() {
    char buf[PATH_MAX + 1];
    if (!getcwd(buf, sizeof buf)) return {};
    std::string s(buf);
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

bool CurrentFolderSet(const std::string& path) {
    if (path.empty()) return false;
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return chdir(p.c_str()) == 0;
}

}  // namespace platform
