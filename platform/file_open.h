// The platform's one way to open a file by path: a regular file only (a folder, FIFO or
// device is refused without blocking), close-on-exec. Inside platform/ only.
#pragma once

#include <string>

namespace platform {

// flags: the open(2) access and creation flags (O_RDONLY, O_WRONLY | O_CREAT | O_APPEND,
// O_NOFOLLOW, ...); new files get mode 0644. kNoFile when the open or the check fails.
int OpenRegularFile(const std::string& path, int flags);

}  // namespace platform
