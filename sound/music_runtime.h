// The music module's place in start-up, the frame loop, the input waits and the end path.
#pragma once

#include "platform/audio.h"

// Registers the loop check with the frame loop and the input waits, and the music stop with
// the end path.
void MusicRuntimeStart();

// Restarts a looping piece once its length has passed; one timer read when nothing is due.
void MusicLoopCheck();

// Hands over the device the sound effects play on, so music mixes into the same output
// (null: music opens its own on first use). Only before the first piece or after a stop.
void MusicAudioDeviceShare(platform::AudioDevice* device);
