// Media lookup: every loader finds its file through here. A loose file of that name wins;
// otherwise the shoebox archive of the slot is searched by base name. Loaders that decode
// bytes read them with MediaRead (an entry is unpacked straight into memory); consumers that
// need a path (file channels, music, video) resolve one, and an entry is then unpacked to a
// private temporary file, which lives until the next resolve on the same slot, the next
// ShoeboxSet, or shutdown.
#pragma once

#include <string>

// Longest path the lookup accepts or hands out (the paths live in 1,024-byte areas).
constexpr size_t kArchivePathMax = 1023;

struct ArchiveSlot {
    bool enabled = true;
    std::string archivePath;    // the archive file
    std::string extractedPath;  // the last unpacked file; empty when none
    int index = 0;              // 0 media, 1 music: each slot unpacks into its own folder
};

// Resolves name through slot. Returns 1 with the path to open in path, or 0. On 0, path is
// emptied when the name is empty, the trailer cannot be read, or the entry is not found /
// the directory cannot be read; in the other failures it keeps what the caller put there
// (so a caller may pass the name's own string and resolve in place).
int ArchiveResolve(ArchiveSlot& slot, std::string name, std::string& path);

// Largest loose file MediaRead reads (an archive entry is bounded by the archive format).
constexpr size_t kMediaReadMax = size_t{1} << 30;

// The bytes of name through slot: the loose file, or the entry unpacked in memory (a damaged
// entry gives empty bytes). False, bytes empty, when there is neither. Leaves the slot's
// extracted file alone.
bool ArchiveRead(ArchiveSlot& slot, const std::string& name, std::string& bytes);
// Through the media slot (pictures, fonts, backgrounds); before start-up loose files only.
bool MediaRead(const std::string& name, std::string& bytes);

// Resolve through the media slot (pictures, fonts, sounds, objects, INI, line files,
// FileOpen). Before ArchiveStartup it finds loose files only.
int MediaResolve(const std::string& name, std::string& path);
// Resolve through the music slot (music and video).
int MusicResolve(const std::string& name, std::string& path);

// Start-up: creates both slots pointing at the running executable (an archive appended to
// it is then found without set-up), hooks them into runtimeState and registers their
// cleanup with the shutdown.
void ArchiveStartup(const std::string& exePath);

// Why an archive file cannot serve lookups ("cannot be opened", "not a media archive", ...),
// or "" when it can.
std::string ArchiveProblem(const std::string& archivePath);
// Resets both slots: enabled, extracted files deleted, new archive paths. A named archive
// that cannot serve is reported in the error log.
void ArchiveShoeboxSet(const std::string& mediaPath, const std::string& musicPath);

// Deletes what both slots still hold and the private folder (the shutdown step).
void ArchiveShutdown();

// Slot reset: enable, delete the extracted file, store the new archive path.
void ArchiveSlotReset(ArchiveSlot& slot, const std::string& archivePath);
// The slot's extracted file removed and the path cleared.
void ArchiveSlotClean(ArchiveSlot& slot);
