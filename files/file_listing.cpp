#include "files/file_listing.h"

#include "files/pattern_match.h"

FileListing FileListingBuild(const std::vector<platform::DirEntry>& entries,
                             const std::string& pattern) {
    FileListing out;
    for (const platform::DirEntry& e : entries)
        if (e.isDirectory) out.names.push_back(e.name);
    out.folders = out.names.size();
    // Every other entry is a candidate: on Linux a name without a dot is a file too.
    for (const platform::DirEntry& e : entries)
        if (!e.isDirectory && WildcardMatch(pattern, e.name)) out.names.push_back(e.name);
    out.files = out.names.size() - out.folders;
    return out;
}
