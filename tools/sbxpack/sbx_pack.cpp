#include "tools/sbxpack/sbx_pack.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "core/ascii.h"
#include "core/bytes.h"
#include "files/archive_format.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace sbxpack {

namespace {

// Archives are read whole; offsets are 32-bit, so nothing larger can be one.
constexpr size_t kArchiveReadMax = size_t(1) << 31;

void PutU32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct Parsed {
    std::string bytes;
    int32_t dir = 0;
    std::vector<ArchiveEntry> entries;
};

bool ReadArchive(const std::string& path, Parsed& p, std::string& error) {
    if (!platform::FileReadWhole(path, p.bytes, kArchiveReadMax)) {
        error = "cannot read " + path;
        return false;
    }
    MemoryArchiveSource src(p.bytes);
    switch (ArchiveTrailerRead(src, p.dir)) {
        case TrailerStatus::Unreadable:
            error = path + ": too short to be an archive";
            return false;
        case TrailerStatus::BadMagic:
            error = path + ": no archive trailer";
            return false;
        case TrailerStatus::Ok:
            break;
    }
    bool ok = ArchiveWalk(src, p.dir, [&](const ArchiveEntry& e) {
        p.entries.push_back(e);
        return true;
    });
    if (!ok) {
        error = path + ": damaged directory";
        return false;
    }
    return true;
}

bool SafeEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

}  // namespace

bool CollectInputs(const std::vector<std::string>& args, std::vector<InputFile>& out,
                   std::string& error) {
    out.clear();
    for (const std::string& a : args) {
        std::error_code ec;
        if (fs::is_directory(a, ec)) {
            std::vector<fs::path> found;
            for (fs::recursive_directory_iterator it(a, ec), end; !ec && it != end;
                 it.increment(ec))
                if (it->is_regular_file(ec)) found.push_back(it->path());
            if (ec) {
                error = "cannot walk " + a + ": " + ec.message();
                return false;
            }
            std::sort(found.begin(), found.end());
            for (const fs::path& f : found)
                out.push_back(InputFile{f.string(), f.filename().string()});
        } else if (platform::FileIsReadable(a)) {
            out.push_back(InputFile{a, fs::path(a).filename().string()});
        } else {
            error = "not a readable file or folder: " + a;
            return false;
        }
    }
    std::map<std::string, std::string> seen;
    for (const InputFile& f : out) {
        if (f.name.size() > 255) {
            error = "name longer than 255 bytes: " + f.path;
            return false;
        }
        auto [it, fresh] = seen.emplace(AsciiLowered(f.name), f.path);
        if (!fresh) {
            error = "two files with the name " + f.name + " (names ignore case): " + it->second +
                    " and " + f.path;
            return false;
        }
    }
    if (out.empty()) {
        error = "nothing to pack";
        return false;
    }
    return true;
}

bool Pack(const std::vector<InputFile>& files, const std::string& out, const Progress& progress,
          std::string& error) {
    if (lzo_init() != LZO_E_OK) {
        error = "LZO library does not start";
        return false;
    }
    std::string tmp;
    int fd = platform::FileCreateBeside(out, tmp);
    if (fd < 0) {
        error = "cannot create " + out;
        return false;
    }
    auto fail = [&](const std::string& why) {
        platform::FileClose(fd);
        platform::FileRemove(tmp);
        error = why;
        return false;
    };
    std::unique_ptr<unsigned char[]> work(new unsigned char[LZO1X_999_MEM_COMPRESS]);
    std::string directory;
    uint64_t at = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const InputFile& f = files[i];
        std::string content;
        if (!platform::FileReadWhole(f.path, content, kArchiveMaxUnpacked))
            return fail("cannot read " + f.path + " (or larger than " +
                        std::to_string(kArchiveMaxUnpacked >> 20) + " MiB)");
        std::string block;
        PutU32(block, static_cast<uint32_t>(content.size()));
        block.resize(4 + content.size() + content.size() / 16 + 64 + 3);
        lzo_uint len = block.size() - 4;
        int r = lzo1x_999_compress(reinterpret_cast<const unsigned char*>(content.data()),
                                   content.size(), reinterpret_cast<unsigned char*>(&block[4]),
                                   &len, work.get());
        if (r != LZO_E_OK) return fail("compression failed for " + f.path);
        block.resize(4 + len);
        if (at + block.size() > INT32_MAX) return fail("archive would pass 2 GiB");
        directory += static_cast<char>(f.name.size());
        directory += f.name;
        PutU32(directory, static_cast<uint32_t>(at));
        PutU32(directory, static_cast<uint32_t>(block.size()));
        if (!platform::FileWriteAll(fd, block.data(), block.size()))
            return fail("write failed: " + out);
        at += block.size();
        if (progress) progress(i + 1, files.size());
    }
    if (at > INT32_MAX) return fail("archive would pass 2 GiB");
    directory += '\0';
    directory += "sbX";
    PutU32(directory, static_cast<uint32_t>(at));
    if (!platform::FileWriteAll(fd, directory.data(), directory.size()))
        return fail("write failed: " + out);
    if (!platform::FileCommitBeside(fd, tmp, out)) {
        error = "cannot write " + out;
        return false;
    }
    return true;
}

bool List(const std::string& archive, std::vector<ListedEntry>& entries, std::string& error) {
    entries.clear();
    Parsed p;
    if (!ReadArchive(archive, p, error)) return false;
    MemoryArchiveSource src(p.bytes);
    for (const ArchiveEntry& e : p.entries) {
        ListedEntry l;
        l.name = e.name;
        l.dataOffset = e.dataOffset;
        l.storedSize = e.storedSize;
        l.position = ArchiveAbsolute(src, p.dir, e.dataOffset);
        unsigned char u[4];
        if (src.ReadAt(l.position, u, 4)) l.unpackedSize = BytesLe32(u);
        entries.push_back(l);
    }
    return true;
}

bool Extract(const std::string& archive, const std::string& folder, const Progress& progress,
             std::string& error) {
    Parsed p;
    if (!ReadArchive(archive, p, error)) return false;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        error = "cannot create folder " + folder;
        return false;
    }
    MemoryArchiveSource src(p.bytes);
    std::string bad;
    for (size_t i = 0; i < p.entries.size(); ++i) {
        const ArchiveEntry& e = p.entries[i];
        std::string content;
        if (!SafeEntryName(e.name)) {
            bad += " '" + e.name + "' (unsafe name)";
        } else if (!ArchiveUnpack(src, p.dir, e, content)) {
            bad += " " + e.name + " (damaged)";
        } else {
            std::string target = (fs::path(folder) / e.name).string();
            if (!platform::FileWriteWhole(target, content)) bad += " " + e.name + " (write failed)";
        }
        if (progress) progress(i + 1, p.entries.size());
    }
    if (!bad.empty()) {
        error = "entries not extracted:" + bad;
        return false;
    }
    return true;
}

bool Append(const std::string& archive, const std::string& target, std::string& error) {
    Parsed p;
    if (!ReadArchive(archive, p, error)) return false;
    int64_t base = platform::FileSizeAt(target);
    if (base < 0) {
        error = "cannot read " + target;
        return false;
    }
    {
        int fd = platform::FileOpenRead(target);
        char t[3];
        bool hasTrailer = base >= 7 && platform::FileSeek(fd, base - 7, 0) == base - 7 &&
                          platform::FileRead(fd, t, 3) == 3 && t[0] == 's' && t[1] == 'b' &&
                          t[2] == 'X';
        platform::FileClose(fd);
        if (hasTrailer) {
            error = target + " already ends in an archive";
            return false;
        }
    }
    // The appended part: every stored block as it is, then the directory and trailer, with
    // offsets counted back from the new end of the target.
    MemoryArchiveSource src(p.bytes);
    std::string blocks;
    std::vector<int64_t> at;
    for (const ArchiveEntry& e : p.entries) {
        int64_t pos = ArchiveAbsolute(src, p.dir, e.dataOffset);
        std::string stored(e.storedSize, '\0');
        if (!src.ReadAt(pos, stored.data(), stored.size())) {
            error = archive + ": entry " + e.name + " lies outside the file";
            return false;
        }
        at.push_back(static_cast<int64_t>(blocks.size()));
        blocks += stored;
    }
    size_t dirBytes = 1 + 7;
    for (const ArchiveEntry& e : p.entries) dirBytes += 1 + e.name.size() + 8;
    int64_t added = static_cast<int64_t>(blocks.size() + dirBytes);
    if (added > INT32_MAX) {
        error = "archive too large to append";
        return false;
    }
    std::string part = blocks;
    for (size_t i = 0; i < p.entries.size(); ++i) {
        part += static_cast<char>(p.entries[i].name.size());
        part += p.entries[i].name;
        PutU32(part, static_cast<uint32_t>(static_cast<int32_t>(at[i] - added)));
        PutU32(part, p.entries[i].storedSize);
    }
    part += '\0';
    part += "sbX";
    PutU32(part, static_cast<uint32_t>(
                     static_cast<int32_t>(static_cast<int64_t>(blocks.size()) - added)));
    int fd = platform::FileOpenAppend(target);
    if (fd < 0 || !platform::FileWriteAll(fd, part.data(), part.size())) {
        platform::FileClose(fd);
        // Give the target back as it was rather than leave half an archive on it.
        if (fd >= 0) platform::FileTruncate(target, base);
        error = "cannot append to " + target;
        return false;
    }
    platform::FileClose(fd);
    return true;
}

}  // namespace sbxpack
