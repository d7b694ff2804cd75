// The sound module's state: the device record and the table of sound slots, in one record
// that start-up creates and the end path frees.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"

constexpr int kSoundSlotCount = 2048;
constexpr int kSoundSlotHighest = 127;  // the commands reach slots 0..127
constexpr int kSoundBuffersMax = 4;

struct SoundDevice {
    std::unique_ptr<platform::AudioDevice> output;  // null: no device, every command silent
};

struct SoundSlot {
    int bufferCount = 0;            // 1..4 buffers; 0 = empty
    int nextBuffer = 0;             // the buffer of the last play
    std::string fileName;           // the path of the loaded file
    SoundDevice* device = nullptr;  // null: the slot cannot play
    platform::AudioBufferId buffers[kSoundBuffersMax] = {};
};

struct SoundState {
    SoundDevice device;
    std::vector<SoundSlot> slots = std::vector<SoundSlot>(kSoundSlotCount);
};

// The state, or null before start-up's sound step and after the end path's.
SoundState* Sound();

// Stops, rewinds and releases a slot's buffers and empties it.
void SoundSlotEmpty(SoundSlot& slot);
