#include "sound/music_rules.h"

#include <algorithm>

#include "core/int_convert.h"

double MusicLengthFrom(int64_t reportedMs) {
    return reportedMs > 499 ? static_cast<double>(reportedMs) : kMusicMinimumLengthMs;
}

bool MusicLoopDue(double loopEnd, double now) {
    return loopEnd > 0 && now >= loopEnd;
}

bool MusicVolumeChange(double& lastSent, double volume, int& send) {
    if (volume == lastSent) return false;
    lastSent = volume;
    send = ToInt(volume * 1000.0);
    return true;
}

bool VideoFitRect(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight,
                  VideoRect& out) {
    if (sourceWidth <= 0 || sourceHeight <= 0) return false;
    double scale = std::min(static_cast<double>(clientWidth) / sourceWidth,
                            static_cast<double>(clientHeight) / sourceHeight);
    out.width = ToInt(sourceWidth * scale);
    out.height = ToInt(sourceHeight * scale);
    out.x = (clientWidth - out.width) / 2;
    out.y = (clientHeight - out.height) / 2;
    return true;
}
