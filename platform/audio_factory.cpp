// The audio device opener until the SDL mixer is in: only an installed factory gives a device,
// so the runtime runs silent (every player falls back to the wall clock).
#include "platform/audio.h"

namespace platform {

namespace {
AudioDeviceFactory gFactory = nullptr;
}

std::unique_ptr<AudioDevice> AudioDeviceOpen() {
    return gFactory ? gFactory() : nullptr;
}

void AudioDeviceFactorySet(AudioDeviceFactory factory) {
    gFactory = factory;
}

}  // namespace platform
