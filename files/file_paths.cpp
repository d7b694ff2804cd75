#include "files/file_paths.h"

#include "platform/paths.h"

std::string FilePathPlatform(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string FilePathJoin(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    size_t end = folder.size();
    while (end > 1 && folder[end - 1] == '/') --end;
    size_t start = 0;
    while (start < name.size() && name[start] == '/') ++start;
    std::string out = folder.substr(0, end);
    if (out != "/") out += '/';
    return out + name.substr(start);
}

std::string FilePathAbsolute(const std::string& path) {
    std::string p = FilePathPlatform(path);
    if (p.empty() || p[0] == '/') return p;
    std::string cwd = platform::CurrentFolderGet();
    return cwd.empty() ? p : FilePathJoin(cwd, p);
}
