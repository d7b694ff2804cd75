#include "files/archive_format.h"

#include <lzo/lzo1x.h>

#include <cstring>
#include <new>
#include <vector>

#include "core/ascii.h"
#include "core/bytes.h"

bool MemoryArchiveSource::ReadAt(int64_t offset, void* buf, size_t n) {
    if (offset < 0 || static_cast<uint64_t>(offset) > bytes_.size() ||
        n > bytes_.size() - static_cast<size_t>(offset))
        return false;
    if (n) std::memcpy(buf, bytes_.data() + offset, n);
    return true;
}

static int32_t LoadI32(const unsigned char* p) {
    return static_cast<int32_t>(BytesLe32(p));
}

TrailerStatus ArchiveTrailerRead(ArchiveSource& src, int32_t& dirOffset) {
    int64_t size = src.Size();
    unsigned char t[kArchiveTrailerSize];
    if (size < static_cast<int64_t>(kArchiveTrailerSize) ||
        !src.ReadAt(size - static_cast<int64_t>(kArchiveTrailerSize), t, 3))
        return TrailerStatus::Unreadable;
    if (t[0] != 's' || t[1] != 'b' || t[2] != 'X') return TrailerStatus::BadMagic;
    if (!src.ReadAt(size - 4, t + 3, 4)) return TrailerStatus::Unreadable;
    dirOffset = LoadI32(t + 3);
    return TrailerStatus::Ok;
}

int64_t ArchiveAbsolute(const ArchiveSource& src, int32_t dirOffset, int32_t offset) {
    return dirOffset < 0 ? src.Size() + static_cast<int64_t>(offset) : static_cast<int64_t>(offset);
}

bool ArchiveWalk(ArchiveSource& src, int32_t dirOffset,
                 const std::function<bool(const ArchiveEntry&)>& visit) {
    int64_t pos = ArchiveAbsolute(src, dirOffset, dirOffset);
    ArchiveEntry e;
    char name[256];
    // Each entry takes at least 9 bytes and every read is bounded by the file, so the walk
    // ends for any input.
    for (;;) {
        unsigned char len;
        if (!src.ReadAt(pos, &len, 1)) return false;
        if (len == 0) return true;
        unsigned char fields[8];
        if (!src.ReadAt(pos + 1, name, len) || !src.ReadAt(pos + 1 + len, fields, 8)) return false;
        pos += 1 + len + 8;
        e.name.assign(name, len);
        e.dataOffset = LoadI32(fields);
        e.storedSize = static_cast<uint32_t>(LoadI32(fields + 4));
        if (!visit(e)) return true;
    }
}

bool ArchiveNameEqual(const std::string& a, const std::string& b) {
    return AsciiEqualFolded(a, b);
}

bool ArchiveFind(ArchiveSource& src, int32_t dirOffset, const std::string& baseName,
                 ArchiveEntry& out) {
    bool found = false;
    bool ok = ArchiveWalk(src, dirOffset, [&](const ArchiveEntry& e) {
        if (e.name.size() < baseName.size()) return true;
        if (ArchiveNameEqual(e.name, baseName)) {
            out = e;
            found = true;
            return false;
        }
        return true;
    });
    return ok && found;
}

uint64_t ArchiveUnpackedBound(uint64_t packedBytes) {
    // LZO1X's longest run costs one byte per 255 bytes of output (a zero length byte adds
    // 255); the few bytes of one instruction yield at most a short match on their own.
    return packedBytes * kArchiveRatioLimit + 64;
}

static bool LzoReady() {
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

bool ArchiveUnpackBlock(const unsigned char* stored, size_t storedSize, std::string& content) {
    content.clear();
    if (storedSize < 4 || !LzoReady()) return false;
    uint32_t unpacked = static_cast<uint32_t>(LoadI32(stored));
    if (unpacked > kArchiveMaxUnpacked ||
        unpacked > ArchiveUnpackedBound(static_cast<uint64_t>(storedSize - 4)))
        return false;
    if (unpacked == 0) return true;
    std::string out;
    try {
        out.resize(unpacked);
    } catch (const std::bad_alloc&) {
        return false;
    }
    lzo_uint outLen = unpacked;
    int r = lzo1x_decompress_safe(stored + 4, static_cast<lzo_uint>(storedSize - 4),
                                  reinterpret_cast<unsigned char*>(out.data()), &outLen, nullptr);
    if (r != LZO_E_OK || outLen != unpacked) return false;
    content.swap(out);
    return true;
}

bool ArchiveUnpack(ArchiveSource& src, int32_t dirOffset, const ArchiveEntry& entry,
                   std::string& content) {
    content.clear();
    int64_t at = ArchiveAbsolute(src, dirOffset, entry.dataOffset);
    int64_t size = src.Size();
    if (entry.storedSize < 4 || at < 0 || at > size ||
        static_cast<int64_t>(entry.storedSize) > size - at ||
        entry.storedSize > kArchiveMaxUnpacked + kArchiveMaxUnpacked / 16 + 1024)
        return false;
    std::vector<unsigned char> stored;
    try {
        stored.resize(entry.storedSize);  // bytes the file really holds
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!src.ReadAt(at, stored.data(), stored.size())) return false;
    return ArchiveUnpackBlock(stored.data(), stored.size(), content);
}

std::string ArchiveBaseName(const std::string& name) {
    size_t cut = name.find_last_of("/\\");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string ArchiveTempName(const ArchiveEntry& entry) {
    unsigned lowOffset = static_cast<uint32_t>(entry.dataOffset) & 0xFFu;
    unsigned lowSize = entry.storedSize & 0xFFu;
    std::string n = "sbx";
    n += static_cast<char>('A' + lowOffset % 26);
    n += static_cast<char>('A' + lowSize % 26);
    n += entry.name;
    return n;
}
