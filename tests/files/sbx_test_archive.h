// Builds shoebox archives for tests, independently of the runtime's and the packer's code:
// entry data is packed here with liblzo2's fast compressor, offsets are laid out by hand.
#pragma once

#include <lzo/lzo1x.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace sbxtest {

inline void PutU32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline uint32_t GetU32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(static_cast<unsigned char>(s[at + i])) << (8 * i);
    return v;
}

// LZO1X data of content (without the size field).
inline std::string Lzo(const std::string& content) {
    static bool ready = lzo_init() == LZO_E_OK;
    if (!ready) return {};
    std::vector<unsigned char> out(content.size() + content.size() / 16 + 64 + 3);
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    lzo_uint len = out.size();
    lzo1x_1_compress(reinterpret_cast<const unsigned char*>(content.data()), content.size(),
                     out.data(), &len, work.data());
    return std::string(reinterpret_cast<char*>(out.data()), len);
}

// The stored block of an entry: unpacked size, then LZO1X data.
inline std::string Block(const std::string& content) {
    std::string b;
    PutU32(b, static_cast<uint32_t>(content.size()));
    return b + Lzo(content);
}

struct Entry {
    std::string name;
    std::string block;       // stored bytes (normally Block(content))
    bool fixOffset = false;  // store offset as given instead of the real one
    int32_t offset = 0;
    bool fixSize = false;  // store size as given instead of block.size()
    uint32_t size = 0;
};

inline Entry Packed(const std::string& name, const std::string& content) {
    return Entry{name, Block(content)};
}

// prefix, then every block, the directory, a zero length and the trailer. negative: the
// directory offset and every data offset count back from the end of the whole file.
inline std::string Build(const std::vector<Entry>& entries, bool negative = false,
                         const std::string& prefix = "", const char* magic = "sbX") {
    std::string file = prefix;
    std::vector<int64_t> at;
    for (const Entry& e : entries) {
        at.push_back(static_cast<int64_t>(file.size()));
        file += e.block;
    }
    int64_t dir = static_cast<int64_t>(file.size());
    size_t dirBytes = 1 + 7;
    for (const Entry& e : entries) dirBytes += 1 + e.name.size() + 8;
    int64_t total = dir + static_cast<int64_t>(dirBytes);
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        file += static_cast<char>(e.name.size());
        file += e.name;
        int64_t off = negative ? at[i] - total : at[i];
        PutU32(file, static_cast<uint32_t>(e.fixOffset ? e.offset : static_cast<int32_t>(off)));
        PutU32(file, e.fixSize ? e.size : static_cast<uint32_t>(e.block.size()));
    }
    file += '\0';
    file.append(magic, 3);
    PutU32(file, static_cast<uint32_t>(static_cast<int32_t>(negative ? dir - total : dir)));
    return file;
}

}  // namespace sbxtest
