// Test media made on the spot by the ffmpeg command (sine tones, lavfi pictures).
#pragma once

#include <cstdlib>
#include <string>

#include "support/test_support.h"

namespace media {

inline bool HaveFfmpeg() {
    return std::system("command -v ffmpeg >/dev/null 2>&1") == 0;
}

// Runs ffmpeg with the input and output options given and returns the file it wrote (in the
// test's temporary folder), or "" when ffmpeg failed.
inline std::string Make(const std::string& file, const std::string& options) {
    std::string path = testsupport::TempDir() + "/" + file;
    std::string cmd = "ffmpeg -nostdin -v error -y " + options + " '" + path + "'";
    return std::system(cmd.c_str()) == 0 ? path : "";
}

// A tone of the given length in seconds, in the format the file name's ending says.
inline std::string Tone(const std::string& file, double seconds, const std::string& codec = "") {
    return Make(file, "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=" +
                          std::to_string(seconds) + (codec.empty() ? "" : " -c:a " + codec));
}

}  // namespace media
