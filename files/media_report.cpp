#include "files/media_report.h"

#include <algorithm>

#include "files/archive.h"
#include "files/files_state.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/diagnostics.h"

namespace {

std::string Slashed(std::string s) {
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

bool Relative(const std::string& name) {
    return !name.empty() && name[0] != '/' && name[0] != '\\';
}

// Once per run, whichever command meets the first missing relative name: the key is given
// without the command, which goes into the message instead.
// archive: 0 none, 1 the media archive, 2 the music archive.
void WhereHint(std::string_view command, int archive) {
    std::string where = "names are looked up in the current folder " + platform::CurrentFolderGet();
    if (archive) {
        const ArchiveSlot* slot = archive == 2 ? Files().musicLookup : Files().mediaLookup;
        const char* kind = archive == 2 ? "music" : "media";
        const std::string path = slot ? slot->archivePath : std::string();
        // Appended piece by piece: GCC 12 misreads a chain of + on temporaries as an overflow.
        const bool inUse = !path.empty() && ArchiveProblem(path).empty();
        where += inUse ? " and then in the " : " (no ";
        where += kind;
        if (inUse) {
            where += " archive ";
            where += path;
        } else {
            where += " archive is in use)";
        }
    }
    DiagReportOnce(DiagLevel::Warning, "where names are looked up", "",
                   std::string(command) + ": " + where);
}

}  // namespace

std::string FileProblem(const std::string& name, size_t limit) {
    if (name.empty()) return "no file name given";
    const std::string path = Slashed(name);
    if (!platform::PathExists(path)) return "no such file";
    const int64_t size = platform::FileSizeAt(path);
    if (size < 0) return "not a readable file";
    if (static_cast<uint64_t>(size) > limit)
        return "larger than " + std::to_string(limit) + " bytes";
    return "";
}

void LoadFailureReport(std::string_view command, const std::string& name, std::string_view why,
                       DiagLevel level) {
    std::string message = name;
    message += ": ";
    message += why;
    // Keyed by the line itself: a file that fails another way later is said again.
    DiagReportOnce(level, message, command, message);
}

void MediaMissingReport(std::string_view command, const std::string& name, bool music) {
    std::string why =
        name.size() > kArchivePathMax ? "name too long" : FileProblem(name, kMediaReadMax);
    // Readable on disk and still not had: it went while being read.
    if (why.empty()) why = "cannot be read";
    LoadFailureReport(command, name, why);
    if (why == "no such file" && Relative(name)) WhereHint(command, music ? 2 : 1);
}

void DiskMissingReport(std::string_view command, const std::string& name, size_t limit,
                       DiagLevel level) {
    std::string why = FileProblem(name, limit);
    if (why.empty()) why = "cannot be read";
    LoadFailureReport(command, name, why, level);
    if (why == "no such file" && Relative(name)) WhereHint(command, 0);
}
