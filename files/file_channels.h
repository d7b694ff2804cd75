// The eight file channels: a platform handle plus the channel's own size and position
// bookkeeping (reads and seeks move the position, writes do not).
#pragma once

#include <cstdint>
#include <string>

constexpr int kFileChannelCount = 8;

struct FileChannel {
    int handle = -1;  // platform descriptor; -1 closed
    int32_t size = 0;
    int32_t position = 0;
    std::string name;  // as the program opened it, for error reports
};

// Channel c, or the end of the program with error 7 when c is not 0..7.
FileChannel& FileChannelGet(double c);
// Closes every channel (the shutdown step).
void FileChannelsCloseAll();
