// The listing order of FileList: every folder (unfiltered, "." and ".." included) first,
// then the files that match the pattern, each group in enumeration order.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

struct FileListing {
    std::vector<std::string> names;
    size_t folders = 0;
    size_t files = 0;
};

FileListing FileListingBuild(const std::vector<platform::DirEntry>& entries,
                             const std::string& pattern);
