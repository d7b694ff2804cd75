// INI data from and to files: the runtime's one INI instance (IniOpen, IniGet, IniPut) and
// the loader every other reader (the 3D object loader) uses on an instance of its own.
#pragma once

#include <string>

#include "files/ini_data.h"

// Largest INI or line file read into memory.
constexpr size_t kTextFileMax = 64u * 1024u * 1024u;

// Loads path (resolved through the media archive) into data; a missing file leaves it empty.
// data.fileName becomes the requested path, pinned to the current folder, so write-back goes
// where the program asked even when the text came from an extracted archive copy.
void IniLoad(IniData& data, const std::string& path);
// Writes data back when changed and named (temporary file beside it, then renamed).
void IniWriteBack(IniData& data);

// The runtime's own instance.
IniData& IniRuntimeData();
// The shutdown step: the INI data and the line file written back.
void TextFilesWriteBack();
