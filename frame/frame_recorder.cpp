#include "frame/frame_recorder.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "frame/frame_pacing.h"
#include "frame/frame_set.h"
#include "gfx/frame_capture.h"
#include "gfx/png_io.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/video_encoder.h"
#include "runtime/diagnostics.h"
#include "runtime/end_path.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/timer.h"
#include "sound/sound_runtime.h"

namespace {
struct RecorderState {
    bool counting = false;
    long frame = 0;
    FrameSet shots;
    std::string shotDir;
    std::string videoPath;
    FrameSet videoFrames;  // empty: every frame
    bool videoFailed = false;
    std::unique_ptr<platform::VideoEncoder> video;
    std::vector<uint8_t> pixels;
    int videoFps = 0;  // set when the video opens; its frames and its sound count in it
    // The mix the program plays, captured frame by frame; null: the video has no sound.
    platform::AudioDevice* sound = nullptr;
    int soundRate = 0;
    int soundCarry = 0;  // the sound frames' fraction left over, in 1/fps of a frame
    std::vector<int16_t> soundFrames;
    long framesMax = 0;  // 0: no limit
    std::string logPath;
    std::string log;  // written whole at the end
    std::chrono::steady_clock::time_point workStart;
};

RecorderState& Recorder() {
    static RecorderState s;
    return s;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string Absolute(const std::string& path, const std::string& base) {
    if (path.empty() || path[0] == '/') return path;
    return base + (base.empty() || base.back() == '/' ? "" : "/") + path;
}

void RecorderFinish() {
    RecorderState& s = Recorder();
    if (!s.logPath.empty() && !platform::FileWriteWhole(s.logPath, s.log))
        ErrorLogAppend("Frame log failed: " + s.logPath);
    if (s.video && !s.video->Finish()) ErrorLogAppend("Video recording failed: " + s.videoPath);
    s.video.reset();
}

int FramesPerSecond() {
    return static_cast<int>(1000.0 / FramePacing().frameDuration + 0.5);
}

// The sound follows the frame clock, not the device's: each frame takes its share of the
// mix (rate / fps sound frames, the fraction carried on), however fast the run goes, so the
// sound track is as long as the pictures and in step with them.
void SoundCaptureStart(RecorderState& s) {
    platform::AudioDevice* out = SoundOutput();
    // In real time a wait lets the sounds go on after a quarter second; under the fixed step
    // only a real stall does (a program polling a sound without showing frames), so a
    // recording repeats exactly.
    const int idleMs = FrameTimerFixedStep() ? 5000 : 250;
    if (out && out->CaptureStart(idleMs)) {
        s.sound = out;
        s.soundRate = out->OutputRate();
    } else {
        DiagWarning("CORVANE_VIDEO", "no audio output opened: the video has no sound");
    }
}

size_t SoundFrameMix(RecorderState& s) {
    const int fps = std::max(s.videoFps > 0 ? s.videoFps : FramesPerSecond(), 1);
    const long total = long(s.soundRate) + s.soundCarry;
    const size_t n = size_t(total / fps);
    s.soundCarry = int(total % fps);
    s.soundFrames.resize(2 * n);
    s.sound->CaptureMix(s.soundFrames.data(), n);
    return n;
}

void VideoFail(RecorderState& s) {
    ErrorLogAppend("Video recording failed: " + s.videoPath);
    s.video.reset();
    s.videoFailed = true;
}

void VideoFrameWrite(RecorderState& s, int width, int height, size_t soundFrames) {
    if (s.videoFailed) return;
    if (!s.video) {
        std::string error;
        s.videoFps = FramesPerSecond();
        s.video = platform::VideoEncoderOpen(s.videoPath, width, height, s.videoFps,
                                             s.sound ? s.soundRate : 0, error);
        if (!s.video) {
            ErrorLogAppend("Video recording failed: " + error);
            s.videoFailed = true;
            return;
        }
        if (s.sound && !s.video->HasSound())
            DiagWarning("CORVANE_VIDEO", s.videoPath + ": no sound track: " + error);
    }
    if (!s.video->SoundWrite(s.soundFrames.data(), soundFrames) ||
        !s.video->FrameWrite(s.pixels.data()))
        VideoFail(s);
}
}  // namespace

void FrameRecorderConfigure() {
    RecorderState& s = Recorder();
    const std::string fixed = Env("CORVANE_FIXED_STEP");
    if (!fixed.empty() && fixed != "0") FrameTimerFixedStepStart();
    const std::string here = platform::CurrentFolderGet();
    s.shots = FrameSetParse(Env("CORVANE_SHOTS"));
    s.shotDir = Absolute(Env("CORVANE_SHOT_DIR"), here);
    if (s.shotDir.empty()) s.shotDir = here;
    s.videoPath = Absolute(Env("CORVANE_VIDEO"), here);
    s.videoFrames = FrameSetParse(Env("CORVANE_VIDEO_FRAMES"));
    s.framesMax = std::strtol(Env("CORVANE_FRAMES_MAX").c_str(), nullptr, 10);
    if (s.framesMax < 0) s.framesMax = 0;
    s.logPath = Absolute(Env("CORVANE_FRAME_LOG"), here);
}

void FrameRecorderStart() {
    RecorderState& s = Recorder();
    s.counting = true;
    s.frame = 0;
    if (!s.videoPath.empty() || !s.logPath.empty())
        ShutdownRegister(ShutdownStep::Recorder, RecorderFinish);
    if (!s.videoPath.empty()) SoundCaptureStart(s);
    s.workStart = std::chrono::steady_clock::now();
}

void FrameRecorderFrame() {
    RecorderState& s = Recorder();
    if (!s.counting) return;
    ++s.frame;
    if (!s.logPath.empty()) {
        const std::chrono::duration<double, std::milli> work =
            std::chrono::steady_clock::now() - s.workStart;
        char line[48];
        std::snprintf(line, sizeof line, "%ld %.3f\n", s.frame, work.count());
        s.log += line;
    }
    const bool shot = s.shots.Contains(s.frame);
    const bool video =
        !s.videoPath.empty() && (s.videoFrames.Empty() || s.videoFrames.Contains(s.frame));
    // Every frame moves the mix on, in the video or not, so the sounds keep their time.
    const size_t soundFrames = s.sound ? SoundFrameMix(s) : 0;
    if (!shot && !video) return;
    int width = 0, height = 0;
    if (!FrameCapture(s.pixels, width, height)) return;
    if (shot) {
        std::vector<uint8_t> png;
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%06ld.png", s.frame);
        if (!PngEncode(s.pixels.data(), width, height, png) ||
            !platform::FileWriteWhole(s.shotDir + name, std::string(png.begin(), png.end())))
            ErrorLogAppend(std::string("Frame shot failed: ") + (s.shotDir + name));
    }
    if (video) VideoFrameWrite(s, width, height, soundFrames);
}

void FrameRecorderFrameDone() {
    RecorderState& s = Recorder();
    if (!s.counting) return;
    if (s.framesMax > 0 && s.frame >= s.framesMax) {
        runtimeState.errorCode = 0.0;
        EndPath();
    }
    if (!s.logPath.empty()) s.workStart = std::chrono::steady_clock::now();
}
