#include "lib/lib_startup.h"

#include "core/rt_string.h"
#include "corvane.h"
#include "frame/shutdown.h"
#include "lib/archive.h"
#include "lib/file_channels.h"
#include "lib/ini_file.h"

void LibStartup(const std::string& exePath) {
    ArchiveStartup(exePath);
    ShutdownRegister(ShutdownStep::IniWriteBack, &LibTextFilesWriteBack);
    ShutdownRegister(ShutdownStep::FileChannels, &FileChannelsCloseAll);
}

void ShoeboxSet(const RtString& mediaArchive, const RtString& musicArchive) {
    ArchiveShoeboxSet(mediaArchive.Str(), musicArchive.Str());
}
