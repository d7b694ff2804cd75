#include "files/files_startup.h"

#include "core/rt_string.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/file_channels.h"
#include "files/ini_file.h"
#include "runtime/shutdown.h"

void FilesStartup(const std::string& exePath) {
    ArchiveStartup(exePath);
    ShutdownRegister(ShutdownStep::IniWriteBack, &TextFilesWriteBack);
    ShutdownRegister(ShutdownStep::FileChannels, &FileChannelsCloseAll);
}

void ShoeboxSet(const RtString& mediaArchive, const RtString& musicArchive) {
    ArchiveShoeboxSet(mediaArchive.Str(), musicArchive.Str());
}
