// The files module's state, in one place: the channels, the open INI data, the cached line
// file, the two media lookups and their extraction folders.
#pragma once

#include <string>

#include "files/archive.h"
#include "files/file_channels.h"
#include "files/ini_data.h"
#include "files/line_file.h"

struct FilesState {
    FileChannel channels[kFileChannelCount];
    IniData ini;             // what IniOpen read, written back on the next open and at shutdown
    LineFileCache lines;     // the line file last read or written
    ArchiveSlot lookups[2];  // the media and the music lookup
    // The lookups in use: the two above from start-up to shutdown, null before and after
    // (then only loose files are found).
    ArchiveSlot* mediaLookup = nullptr;
    ArchiveSlot* musicLookup = nullptr;
    // The private folder archive entries are unpacked into, and its media and music
    // sub-folders (empty until first needed).
    std::string extractRoot;
    std::string extractFolders[2];
};

FilesState& Files();
