// How a sound file's bytes are had by name.
#pragma once

#include <string>

// The whole content of the sound file of that name, found the way every media loader finds
// its files (a loose file first, then the media archive). False when it cannot be had.
bool SoundFileRead(const std::string& name, std::string& bytes, std::string& path);
