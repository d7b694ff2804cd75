#include "files/extract_folder.h"

#include "files/files_state.h"
#include "platform/files.h"
#include "platform/log_file.h"

std::string ExtractFolderFor(int slot) {
    if (slot < 0 || slot > 1) slot = 0;
    // Someone (a cleaner of the temporary folder, a child process ending) may have removed
    // the folders since: make fresh ones rather than write into a path we no longer own.
    if (!Files().extractRoot.empty() && !platform::FolderIsPrivate(Files().extractRoot)) {
        Files().extractRoot.clear();
        Files().extractFolders[0].clear();
        Files().extractFolders[1].clear();
    }
    if (!Files().extractFolders[slot].empty() &&
        !platform::FolderIsPrivate(Files().extractFolders[slot]))
        Files().extractFolders[slot].clear();
    if (Files().extractRoot.empty())
        Files().extractRoot = platform::PrivateFolderCreate(platform::TempFolder(), "corvane-");
    if (Files().extractRoot.empty()) return {};
    if (Files().extractFolders[slot].empty()) {
        // Inside our own 0700 folder nobody else can plant a link, so a fresh folder is safe.
        std::string made =
            platform::PrivateFolderCreate(Files().extractRoot, slot == 0 ? "media-" : "music-");
        Files().extractFolders[slot] = made;
    }
    return Files().extractFolders[slot];
}

void ExtractFolderRemove() {
    for (std::string& s : Files().extractFolders) {
        if (!s.empty()) platform::FolderRemove(s);
        s.clear();
    }
    if (!Files().extractRoot.empty()) platform::FolderRemove(Files().extractRoot);
    Files().extractRoot.clear();
}
