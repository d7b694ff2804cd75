#include "sound/sound_runtime.h"

#include "runtime/shutdown.h"
#include "sound/sound_state.h"

namespace {
std::unique_ptr<SoundState> gSound;
}  // namespace

SoundState* Sound() {
    return gSound.get();
}

void SoundSlotEmpty(SoundSlot& slot) {
    platform::AudioDevice* out = gSound ? gSound->device.output.get() : nullptr;
    for (auto& id : slot.buffers) {
        if (id != 0 && out) {
            out->Stop(id);
            out->Rewind(id);
            out->BufferRelease(id);
        }
        id = 0;
    }
    slot.bufferCount = 0;
    slot.nextBuffer = 0;
    slot.fileName.clear();
}

void SoundRecordCreate() {
    gSound = std::make_unique<SoundState>();
    ShutdownRegister(ShutdownStep::Sound, SoundShutdown);
}

bool SoundStart() {
    if (!gSound) return false;
    gSound->device.output = platform::AudioDeviceOpen();
    return gSound->device.output != nullptr;
}

void SoundShutdown() {
    if (gSound) {
        for (int i = kSoundSlotCount - 1; i >= 0; --i) SoundSlotEmpty(gSound->slots[size_t(i)]);
        gSound->device.output.reset();
    }
    gSound.reset();
}
