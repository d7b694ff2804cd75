#include "sound/sound_runtime.h"

#include <future>

#include "runtime/shutdown.h"
#include "sound/sound_state.h"

namespace {
std::unique_ptr<SoundState> gSound;
std::future<std::unique_ptr<platform::AudioDevice>> gOpening;  // valid while the output opens
}  // namespace

SoundState* Sound() {
    return gSound.get();
}

void SoundSlotEmpty(SoundSlot& slot) {
    platform::AudioDevice* out = SoundOutput();
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

void SoundStartInBackground() {
    if (!gSound || gOpening.valid()) return;
    gOpening = platform::AudioDeviceOpenInBackground();
}

platform::AudioDevice* SoundOutput() {
    if (!gSound) return nullptr;
    if (gOpening.valid()) gSound->device.output = gOpening.get();
    return gSound->device.output.get();
}

void SoundShutdown() {
    if (gSound) {
        SoundOutput();  // an opening under way ends before the output closes
        for (int i = kSoundSlotCount - 1; i >= 0; --i) SoundSlotEmpty(gSound->slots[size_t(i)]);
        gSound->device.output.reset();
    }
    gSound.reset();
}
