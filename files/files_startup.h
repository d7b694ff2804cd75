// Start-up of the file library: both archive slots pointed at the executable and the
// shutdown steps registered (INI and line-file write-back, file channels, archives).
#pragma once

#include <string>

void FilesStartup(const std::string& exePath);
