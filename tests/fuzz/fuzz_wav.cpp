// WAV files: the layout reader, then the conversion the mixer runs on what it found.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/pcm_convert.h"
#include "sound/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WavSound s;
    if (!WavParse(data, size, s)) return 0;
    if (s.data < data || s.data + s.bytes > data + size) __builtin_trap();
    std::vector<int16_t> out;
    platform::PcmConvert(s.format, s.data, s.bytes, 22050, out);
    return 0;
}
