#include "files/archive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/archive_format.h"
#include "files/extract_folder.h"
#include "files/files_state.h"
#include "platform/files.h"
#include "runtime/error_log.h"
#include "runtime/shutdown.h"

namespace {

class FileArchiveSource : public ArchiveSource {
public:
    explicit FileArchiveSource(int fd) : fd_(fd), size_(platform::FileSizeOf(fd)) {}
    int64_t Size() const override { return size_ < 0 ? 0 : size_; }
    bool ReadAt(int64_t offset, void* buf, size_t n) override {
        if (offset < 0 || offset > Size() || static_cast<int64_t>(n) > Size() - offset)
            return false;
        if (n == 0) return true;
        // The directory walk asks for a few bytes at a time: serve those from one window so a
        // long directory costs a handful of reads, not three system calls per entry.
        if (n <= sizeof window_) {
            if (offset < windowAt_ || offset + static_cast<int64_t>(n) > windowAt_ + windowLen_) {
                int64_t want = std::min<int64_t>(sizeof window_, Size() - offset);
                if (platform::FileSeek(fd_, offset, 0) != offset ||
                    platform::FileRead(fd_, window_, static_cast<size_t>(want)) != want) {
                    windowLen_ = 0;
                    return false;
                }
                windowAt_ = offset;
                windowLen_ = want;
            }
            std::memcpy(buf, window_ + (offset - windowAt_), n);
            return true;
        }
        if (platform::FileSeek(fd_, offset, 0) != offset) return false;
        return platform::FileRead(fd_, buf, n) == static_cast<int64_t>(n);
    }

private:
    int fd_;
    int64_t size_;
    unsigned char window_[4096];
    int64_t windowAt_ = 0;
    int64_t windowLen_ = 0;
};

struct FdCloser {
    int fd;
    ~FdCloser() { platform::FileClose(fd); }
};

std::string Slashed(std::string s) {
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

}  // namespace

void ArchiveSlotClean(ArchiveSlot& slot) {
    if (!slot.extractedPath.empty()) platform::FileRemove(slot.extractedPath);
    slot.extractedPath.clear();
}

void ArchiveSlotReset(ArchiveSlot& slot, const std::string& archivePath) {
    slot.enabled = true;
    ArchiveSlotClean(slot);
    slot.archivePath = archivePath;
}

namespace {

enum class Lookup {
    Loose,    // a loose file of that name: its path
    Entry,    // an archive entry: its bytes, unpacked in memory
    Missing,  // no such name: the caller's path is emptied
    Refused   // too long, no archive, unreadable archive: the caller's path stays
};

struct LookupResult {
    Lookup kind = Lookup::Missing;
    std::string loosePath;
    ArchiveEntry entry;
    std::string content;
};

LookupResult LookupName(ArchiveSlot& slot, const std::string& name) {
    LookupResult r;
    if (name.empty()) return r;
    r.kind = Lookup::Refused;
    if (name.size() > kArchivePathMax) return r;
    std::string loose = Slashed(name);
    if (platform::FileIsReadable(loose)) {
        r.kind = Lookup::Loose;
        r.loosePath = std::move(loose);
        return r;
    }
    if (!slot.enabled) return r;
    if (slot.archivePath.empty() || slot.archivePath.size() > kArchivePathMax) {
        slot.enabled = false;
        return r;
    }
    int fd = platform::FileOpenRead(Slashed(slot.archivePath));
    if (fd == platform::kNoFile) {
        slot.enabled = false;
        return r;
    }
    FdCloser closer{fd};
    FileArchiveSource src(fd);
    int32_t dir = 0;
    switch (ArchiveTrailerRead(src, dir)) {
        case TrailerStatus::Unreadable:
            r.kind = Lookup::Missing;
            return r;
        case TrailerStatus::BadMagic:
            slot.enabled = false;
            return r;
        case TrailerStatus::Ok:
            break;
    }
    std::string base = ArchiveBaseName(name);
    if (base.empty() || !ArchiveFind(src, dir, base, r.entry)) {
        r.kind = Lookup::Missing;
        return r;
    }
    // A damaged entry still resolves, to empty content, as a failed unpack always has.
    ArchiveUnpack(src, dir, r.entry, r.content);
    r.kind = Lookup::Entry;
    return r;
}

// The media slot, or one that finds loose files only (before start-up: tools, tests).
template <typename Fn>
auto WithSlot(ArchiveSlot* slot, Fn fn) {
    if (slot) return fn(*slot);
    ArchiveSlot looseOnly;
    looseOnly.enabled = false;
    return fn(looseOnly);
}

}  // namespace

int ArchiveResolve(ArchiveSlot& slot, std::string name, std::string& path) {
    ArchiveSlotClean(slot);
    LookupResult r = LookupName(slot, name);
    switch (r.kind) {
        case Lookup::Loose:
            path = r.loosePath;
            return 1;
        case Lookup::Missing:
            path.clear();
            return 0;
        case Lookup::Refused:
            return 0;
        case Lookup::Entry:
            break;
    }
    const ArchiveEntry& entry = r.entry;
    std::string folder = ExtractFolderFor(slot.index);
    std::string target = folder.empty() ? std::string() : folder + "/" + ArchiveTempName(entry);
    // Entry names never carry a folder: a name with a separator or a zero byte could reach
    // outside the private folder, so it is refused like an uncreatable file.
    bool nameSafe = entry.name.find_first_of(std::string("/\\\0", 3)) == std::string::npos &&
                    entry.name != "." && entry.name != "..";
    int out = platform::kNoFile;
    if (!target.empty() && nameSafe && target.size() <= kArchivePathMax) {
        platform::FileRemove(target);
        out = platform::FileCreateExclusive(target);
    }
    if (out == platform::kNoFile) {
        std::string msg = "can't open \"" + target + "\" for writing\n";
        std::fwrite(msg.data(), 1, msg.size(), stdout);
        std::fflush(stdout);
        return 0;
    }
    bool ok = platform::FileWriteAll(out, r.content.data(), r.content.size());
    platform::FileClose(out);
    if (!ok) {
        platform::FileRemove(target);
        return 0;
    }
    slot.extractedPath = target;
    path = target;
    return 1;
}

bool ArchiveRead(ArchiveSlot& slot, const std::string& name, std::string& bytes) {
    bytes.clear();
    LookupResult r = LookupName(slot, name);
    if (r.kind == Lookup::Loose) return platform::FileReadWhole(r.loosePath, bytes, kMediaReadMax);
    if (r.kind != Lookup::Entry) return false;
    bytes = std::move(r.content);
    return true;
}

bool MediaRead(const std::string& name, std::string& bytes) {
    return WithSlot(Files().mediaLookup,
                    [&](ArchiveSlot& s) { return ArchiveRead(s, name, bytes); });
}

int MediaResolve(const std::string& name, std::string& path) {
    return WithSlot(Files().mediaLookup,
                    [&](ArchiveSlot& s) { return ArchiveResolve(s, name, path); });
}

int MusicResolve(const std::string& name, std::string& path) {
    return WithSlot(Files().musicLookup,
                    [&](ArchiveSlot& s) { return ArchiveResolve(s, name, path); });
}

void ArchiveStartup(const std::string& exePath) {
    for (int i = 0; i < 2; ++i) {
        Files().lookups[i].index = i;
        ArchiveSlotReset(Files().lookups[i], exePath);
    }
    Files().mediaLookup = &Files().lookups[0];
    Files().musicLookup = &Files().lookups[1];
    ShutdownRegister(ShutdownStep::Archives, &ArchiveShutdown);
}

std::string ArchiveProblem(const std::string& archivePath) {
    if (archivePath.size() > kArchivePathMax) return "name too long";
    int fd = platform::FileOpenRead(Slashed(archivePath));
    if (fd == platform::kNoFile) return "cannot be opened";
    FdCloser closer{fd};
    FileArchiveSource src(fd);
    int32_t dir = 0;
    switch (ArchiveTrailerRead(src, dir)) {
        case TrailerStatus::Ok:
            return "";
        case TrailerStatus::Unreadable:
            return "cannot be read";
        case TrailerStatus::BadMagic:
            break;
    }
    return "not a media archive";
}

void ArchiveShoeboxSet(const std::string& mediaPath, const std::string& musicPath) {
    // The lookups open the archives lazily and fall back to loose files in silence; a game
    // author who names an archive learns here, once, why it will not be used.
    for (const std::string& path : {mediaPath, musicPath}) {
        if (path.empty()) continue;
        const std::string problem = ArchiveProblem(path);
        if (!problem.empty()) ErrorLogAppend("ShoeboxSet: " + path + ": " + problem);
    }
    if (Files().mediaLookup) ArchiveSlotReset(*Files().mediaLookup, mediaPath);
    if (Files().musicLookup) ArchiveSlotReset(*Files().musicLookup, musicPath);
}

void ArchiveShutdown() {
    for (ArchiveSlot& s : Files().lookups) ArchiveSlotClean(s);
    Files().mediaLookup = nullptr;
    Files().musicLookup = nullptr;
    ExtractFolderRemove();
}
