#include "sound/sound_file.h"

#include "files/archive.h"

bool SoundFileRead(const std::string& name, std::string& bytes) {
    return MediaRead(name, bytes);
}
