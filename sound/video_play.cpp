// VideoPlay: a video shown over the game's last picture, fitted and centred, until it ends
// (or, looping, until a key or button is pressed).
#include <string>
#include <vector>

#include "core/int_convert.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/media_report.h"
#include "gfx/renderer.h"
#include "gfx/video_frame.h"
#include "input/input.h"
#include "platform/clock.h"
#include "runtime/frame_calls.h"
#include "runtime/window_events.h"
#include "sound/music_rules.h"
#include "sound/music_runtime.h"
#include "sound/music_state.h"

namespace {

bool InterruptPressed(InputState& in) {
    return KeyTranslate(in) != 0 || MouseAnyButtonDown(in);
}

}  // namespace

double VideoPlay(const RtString& name, double loop) {
    std::string path;
    if (!MusicResolve(name.Str(), path)) {
        MediaMissingReport("VideoPlay", name.Str(), true);
        return 3;
    }
    MusicState& m = Music();
    m.video = platform::MediaPlayerOpen(path, MusicAudioDevice());
    if (!m.video) {
        LoadFailureReport("VideoPlay", name.Str(),
                          "cannot be played (not a file the decoder opens, or its libraries are "
                          "missing)");
        return 3;
    }
    platform::MediaPlayer& video = *m.video;
    const int64_t end = video.StartMs() + video.LengthMs();
    const bool looping = ToInt(loop) != 0;

    // A file with sound only has no picture to fit: it is heard over the unchanged window.
    int sourceWidth = 0, sourceHeight = 0, clientWidth = 0, clientHeight = 0;
    video.SourceSize(sourceWidth, sourceHeight);
    ScreenSizeGetInt(clientWidth, clientHeight);
    VideoRect dest;
    const bool picture = VideoFitRect(sourceWidth, sourceHeight, clientWidth, clientHeight, dest);
    if (picture) VideoBackdropCapture();

    // A key or button already down when the video starts does not end it.
    InputState& in = Input();
    while (InterruptPressed(in)) {
        MessagePump();
        platform::SleepMs(1);
    }

    std::vector<uint8_t> rgba;
    int frameWidth = 0, frameHeight = 0;
    if (video.Play() && end > 0) {
        for (;;) {
            const int64_t position = video.PositionMs();
            if (InterruptPressed(in)) break;
            MusicLoopCheck();
            MessagePump();
            if (position >= end) {
                if (!looping) break;
                video.SeekStart();
                video.Play();
                continue;
            }
            if (picture && video.FrameTake(rgba, frameWidth, frameHeight)) {
                VideoFrameShow(rgba.data(), frameWidth, frameHeight, dest.x, dest.y, dest.width,
                               dest.height);
            } else {
                // Nothing new to show: give the shared cores back for a moment.
                platform::SleepMs(1);
            }
        }
    }
    video.Stop();
    m.video.reset();
    if (picture) VideoFrameRelease();
    return 0;
}
