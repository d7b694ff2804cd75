#include "sound/music_state.h"

#include "sound/sound_runtime.h"
#include "sound/sound_state.h"

MusicState& Music() {
    static MusicState state;
    return state;
}

platform::AudioDevice* MusicAudioDevice() {
    MusicState& m = Music();
    if (m.sharedDevice) return m.sharedDevice;
    // After start-up music mixes into the sound effects' output, or stays silent with them.
    if (Sound()) return SoundOutput();
    if (!m.deviceTried) {
        m.deviceTried = true;
        m.ownDevice = platform::AudioDeviceOpen();
    }
    return m.ownDevice.get();
}
