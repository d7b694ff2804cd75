#include "sound/sound_file.h"

#include "lib/archive.h"
#include "platform/files.h"

namespace {
// The data size field is 32 bits; nothing larger can be a sound.
constexpr size_t kSoundFileMax = size_t(1) << 32;
}  // namespace

bool SoundFileRead(const std::string& name, std::string& bytes, std::string& path) {
    path.clear();
    if (!MediaResolve(name, path)) return false;
    return platform::FileReadWhole(path, bytes, kSoundFileMax);
}
