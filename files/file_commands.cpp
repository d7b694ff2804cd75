// Path commands: size, existence, delete, copy, current folder, listing, wildcard match.
#include <string>
#include <vector>

#include "core/rt_array.h"
#include "core/rt_string.h"
#include "corvane.h"
#include "files/file_listing.h"
#include "files/file_paths.h"
#include "files/pattern_match.h"
#include "platform/files.h"
#include "platform/paths.h"

double FileSize(const RtString& path) {
    int64_t s = platform::FileSizeAt(FilePathPlatform(path.Str()));
    return s < 0 ? 0 : static_cast<double>(s);
}

double FileExists(const RtString& path) {
    return platform::FileIsReadable(FilePathPlatform(path.Str())) ? 1 : 0;
}

double FileDelete(const RtString& path) {
    return platform::FileRemove(FilePathPlatform(path.Str())) ? 1 : 0;
}

bool FileCopyBytes(const std::string& source, const std::string& target) {
    int in = platform::FileOpenRead(source);
    if (in < 0) return false;
    std::string tmp;
    int out = platform::FileCreateBeside(target, tmp);
    if (out < 0) {
        platform::FileClose(in);
        return false;
    }
    char block[4096];
    bool ok = true;
    for (;;) {
        int64_t got = platform::FileRead(in, block, sizeof block);
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0) break;
        if (!platform::FileWriteAll(out, block, static_cast<size_t>(got))) {
            ok = false;
            break;
        }
        if (got < static_cast<int64_t>(sizeof block)) break;
    }
    platform::FileClose(in);
    if (!ok) {
        // The old target stays as it was; only the unfinished copy goes.
        platform::FileClose(out);
        platform::FileRemove(tmp);
        return false;
    }
    return platform::FileCommitBeside(out, tmp, target);
}

void FileCopy(const RtString& source, const RtString& target) {
    FileCopyBytes(FilePathPlatform(source.Str()), FilePathPlatform(target.Str()));
}

RtString DirectoryGet() {
    std::string d = FilePathPlatform(platform::CurrentFolderGet());
    if (d.empty() || d.back() != '/') d += '/';
    return RtString(std::string_view(d));
}

double DirectorySet(const RtString& path) {
    return platform::CurrentFolderSet(FilePathPlatform(path.Str())) ? 1 : 0;
}

double FileList(const RtString& pattern, RtStringArray& names) {
    std::vector<platform::DirEntry> entries;
    platform::DirectoryList(".", entries);
    FileListing listing = FileListingBuild(entries, pattern.Str());
    names.Dim(static_cast<int64_t>(listing.names.size()));
    for (size_t i = 0; i < listing.names.size(); ++i)
        names.At(static_cast<int64_t>(i)) = RtString(std::string_view(listing.names[i]));
    return static_cast<double>(listing.files) + 65536.0 * static_cast<double>(listing.folders);
}

double PatternMatch(const RtString& pattern, const RtString& text) {
    return WildcardMatch(pattern.View(), text.View()) ? 1 : 0;
}
