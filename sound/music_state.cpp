#include "sound/music_state.h"

MusicState& Music() {
    static MusicState state;
    return state;
}

platform::AudioDevice* MusicAudioDevice() {
    MusicState& m = Music();
    if (m.sharedDevice) return m.sharedDevice;
    if (!m.deviceTried) {
        m.deviceTried = true;
        m.ownDevice = platform::AudioDeviceOpen();
    }
    return m.ownDevice.get();
}
