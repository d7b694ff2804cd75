// The rules of music and video playback that need no player, no window and no clock, kept
// apart so the tests can drive them directly.
#pragma once

#include <cstdint>

// A piece is at least 500 ms long: a player that reports less (or nothing, for a file it
// could not read) still gets a restart every 500 ms when looping.
constexpr double kMusicMinimumLengthMs = 500.0;
double MusicLengthFrom(int64_t reportedMs);

// Is a looping piece due for its restart? loopEnd 0: the piece does not loop.
bool MusicLoopDue(double loopEnd, double now);

// MusicVolumeSet's rule: a value equal to the last one sent changes nothing; any other is
// remembered and sent as thousandths truncated towards zero (outside 0..1 passed on as they
// are). Returns whether to send, with the value in send.
bool MusicVolumeChange(double& lastSent, double volume, int& send);

// Where a video's picture goes in the window: scaled by the smaller of the two ratios, then
// centred, each size and half truncated towards zero.
struct VideoRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// False without a picture (source width or height 0): nothing to place.
bool VideoFitRect(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight,
                  VideoRect& out);
