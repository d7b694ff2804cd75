#include "sound/music_state.h"

#include "sound/sound_state.h"

MusicState& Music() {
    static MusicState state;
    return state;
}

platform::AudioDevice* MusicAudioDevice() {
    MusicState& m = Music();
    if (m.sharedDevice) return m.sharedDevice;
    // After start-up music mixes into the sound effects' output, or stays silent with them.
    if (SoundState* s = Sound()) return s->device.output.get();
    if (!m.deviceTried) {
        m.deviceTried = true;
        m.ownDevice = platform::AudioDeviceOpen();
    }
    return m.ownDevice.get();
}
