// Path spelling shared by the file commands: '\' becomes '/', folder and name are joined with
// exactly one '/', and relative paths can be pinned to the folder they were opened in.
#pragma once

#include <string>

std::string FilePathPlatform(std::string path);
std::string FilePathJoin(const std::string& folder, const std::string& name);
// path made absolute against the current folder (unchanged when already absolute or empty).
std::string FilePathAbsolute(const std::string& path);
