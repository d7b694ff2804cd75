// The packer's work, apart from the command line: building, reading, unpacking and
// appending shoebox archives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sbxpack {

struct InputFile {
    std::string path;  // where to read it
    std::string name;  // entry name: the base name
};

struct ListedEntry {
    std::string name;
    int64_t position = 0;  // absolute position of the stored block
    int32_t dataOffset = 0;
    uint32_t storedSize = 0;
    uint32_t unpackedSize = 0;  // from the block's size field; 0 when unreadable
};

// Files given on the command line: folders are walked (sorted, recursively), files taken as
// they are. False with a message on a missing input, a name over 255 bytes, or two entries
// whose names differ only in case (the reader would only ever find the first).
bool CollectInputs(const std::vector<std::string>& args, std::vector<InputFile>& out,
                   std::string& error);

// progress(done, total) is called after each entry.
using Progress = std::function<void(size_t, size_t)>;

// Packs files into a new archive at out (replaced whole, never left half-written).
bool Pack(const std::vector<InputFile>& files, const std::string& out, const Progress& progress,
          std::string& error);

// Reads the directory of an archive (a file of its own or appended to another).
bool List(const std::string& archive, std::vector<ListedEntry>& entries, std::string& error);

// Unpacks every entry into folder (created when missing).
bool Extract(const std::string& archive, const std::string& folder, const Progress& progress,
             std::string& error);

// Appends archive to target with negative offsets, so a lookup through target finds the
// entries. Refuses a target that already ends in an archive.
bool Append(const std::string& archive, const std::string& target, std::string& error);

}  // namespace sbxpack
