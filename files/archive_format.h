// The shoebox archive layout, apart from any file I/O so it can be driven from memory.
//
// Trailer (last 7 bytes): "sbX" then a signed 32-bit directory offset D. D >= 0 counts from
// the start of the file; D < 0 counts back from the end, and so do the entries' data offsets
// (that lets an archive ride at the end of another file). Directory entries: name length
// (0 ends), name, data offset, stored size. Entry data: unpacked size, then LZO1X data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Random access to the bytes holding an archive.
class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;
    virtual int64_t Size() const = 0;
    // Exactly n bytes at offset, or false.
    virtual bool ReadAt(int64_t offset, void* buf, size_t n) = 0;
};

class MemoryArchiveSource : public ArchiveSource {
public:
    explicit MemoryArchiveSource(const std::string& bytes) : bytes_(bytes) {}
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    bool ReadAt(int64_t offset, void* buf, size_t n) override;

private:
    const std::string& bytes_;
};

constexpr size_t kArchiveTrailerSize = 7;
// Largest unpacked entry we agree to build in memory.
constexpr uint32_t kArchiveMaxUnpacked = 256u * 1024u * 1024u;

// The most bytes LZO1X data unpacks to per packed byte; a size field announcing more than
// the packed bytes can yield is refused before anything is allocated.
constexpr uint64_t kArchiveRatioLimit = 256;
uint64_t ArchiveUnpackedBound(uint64_t packedBytes);

enum class TrailerStatus { Ok, Unreadable, BadMagic };
TrailerStatus ArchiveTrailerRead(ArchiveSource& src, int32_t& dirOffset);

struct ArchiveEntry {
    std::string name;
    int32_t dataOffset = 0;  // as stored, relative as D's sign says
    uint32_t storedSize = 0;
};

// Absolute file position of a stored offset.
int64_t ArchiveAbsolute(const ArchiveSource& src, int32_t dirOffset, int32_t offset);

// Walks the directory; visit returns false to stop. Returns false when a read failed before
// the terminating zero length (a stop by visit is not a failure).
bool ArchiveWalk(ArchiveSource& src, int32_t dirOffset,
                 const std::function<bool(const ArchiveEntry&)>& visit);

// First entry whose name equals baseName ignoring ASCII case.
bool ArchiveFind(ArchiveSource& src, int32_t dirOffset, const std::string& baseName,
                 ArchiveEntry& out);

// Unpacks an entry. False (and empty content) when the stored block lies outside the file,
// is shorter than its size field, announces more than kArchiveMaxUnpacked or more than its
// packed bytes can yield (ArchiveUnpackedBound), or is not valid LZO1X data
// unpacking to exactly the announced size.
bool ArchiveUnpack(ArchiveSource& src, int32_t dirOffset, const ArchiveEntry& entry,
                   std::string& content);
// Unpacks a stored block held in memory (size field + LZO1X data).
bool ArchiveUnpackBlock(const unsigned char* stored, size_t storedSize, std::string& content);

// The part of a request after its last '/' or '\'.
std::string ArchiveBaseName(const std::string& name);
// "sbx" + two letters from the low bytes of data offset and stored size + entry name.
std::string ArchiveTempName(const ArchiveEntry& entry);
bool ArchiveNameEqual(const std::string& a, const std::string& b);
