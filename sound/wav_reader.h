// Reads the RIFF/WAVE layout of a sound file held in memory: the sample format and where the
// samples are. Nothing is copied and nothing is opened.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/audio.h"

struct WavSound {
    platform::PcmFormat format;
    const uint8_t* data = nullptr;  // inside the bytes handed in
    size_t bytes = 0;
};

// Finds the "fmt " chunk and the "data" chunk after it. False for anything that is not
// RIFF/WAVE, lacks either chunk, has a chunk claiming more bytes than remain before the data,
// or holds samples the mixer cannot play. A data chunk longer than the file is cut to what
// the file holds.
bool WavParse(const uint8_t* bytes, size_t size, WavSound& out);
