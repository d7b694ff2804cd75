// The media archive: trailer, directory walk and every entry's unpacking, from memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/archive_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryArchiveSource src(bytes);
    int32_t dir = 0;
    if (ArchiveTrailerRead(src, dir) != TrailerStatus::Ok) return 0;
    int entries = 0;
    ArchiveWalk(src, dir, [&](const ArchiveEntry& e) {
        std::string content;
        if (!ArchiveUnpack(src, dir, e, content) && !content.empty()) __builtin_trap();
        ArchiveTempName(e);
        return ++entries < 64;
    });
    ArchiveEntry found;
    ArchiveFind(src, dir, "a.png", found);
    return 0;
}
