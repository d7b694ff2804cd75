// The bits of the file system the start-up needs.
#pragma once

#include <string>

namespace platform {

// The temporary folder is TempFolder() in platform/log_file.h.

// Full path of the running executable (empty when it cannot be read).
std::string ExecutablePath();

// Current folder with a trailing '/'.
std::string CurrentFolderGet();
bool CurrentFolderSet(const std::string& path);

}  // namespace platform
