#include "files/extract_folder.h"

#include "platform/files.h"
#include "platform/log_file.h"

namespace {
std::string gRoot;
std::string gSub[2];
}  // namespace

std::string ExtractFolderFor(int slot) {
    if (slot < 0 || slot > 1) slot = 0;
    // Someone (a cleaner of the temporary folder, a child process ending) may have removed
    // the folders since: make fresh ones rather than write into a path we no longer own.
    if (!gRoot.empty() && !platform::FolderIsPrivate(gRoot)) {
        gRoot.clear();
        gSub[0].clear();
        gSub[1].clear();
    }
    if (!gSub[slot].empty() && !platform::FolderIsPrivate(gSub[slot])) gSub[slot].clear();
    if (gRoot.empty()) gRoot = platform::PrivateFolderCreate(platform::TempFolder(), "corvane-");
    if (gRoot.empty()) return {};
    if (gSub[slot].empty()) {
        // Inside our own 0700 folder nobody else can plant a link, so a fresh folder is safe.
        std::string made = platform::PrivateFolderCreate(gRoot, slot == 0 ? "media-" : "music-");
        gSub[slot] = made;
    }
    return gSub[slot];
}

void ExtractFolderRemove() {
    for (std::string& s : gSub) {
        if (!s.empty()) platform::FolderRemove(s);
        s.clear();
    }
    if (!gRoot.empty()) platform::FolderRemove(gRoot);
    gRoot.clear();
}
