// The music module's one record: the piece now loaded (its player stands where a media
// window would), its restart time, the last volume sent and the resolved name; and the video
// being shown, so the end path can close it from inside a video's message pump.
#pragma once

#include <memory>
#include <string>

#include "platform/audio.h"
#include "platform/media_player.h"

struct MusicState {
    // First, so the players (which hold voices on it) go before the device at exit.
    platform::AudioDevice* sharedDevice = nullptr;  // the sound module's, when it handed one over
    std::unique_ptr<platform::AudioDevice> ownDevice;
    bool deviceTried = false;
    std::unique_ptr<platform::MediaPlayer> player;  // null when no music is loaded
    double loopEnd = 0.0;                           // TimerGet value of the next restart; 0 = none
    double volume = -1.0;  // last volume sent; -1 = none, so the next one is always sent
    std::string name;      // the resolved path of the piece, as long as it is
    std::unique_ptr<platform::MediaPlayer> video;  // the video playing now, if any
};

MusicState& Music();

// The device music and video play through: the shared one, else one opened on first use
// (null when none opens; players then run silent on the wall clock).
platform::AudioDevice* MusicAudioDevice();
