#include "frame/frame_recorder.h"

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
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/video_encoder.h"
#include "runtime/end_path.h"
#include "runtime/error_log.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/timer.h"

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

void VideoFrameWrite(RecorderState& s, int width, int height) {
    if (s.videoFailed) return;
    if (!s.video) {
        std::string error;
        const int fps = static_cast<int>(1000.0 / FramePacing().frameDuration + 0.5);
        s.video = platform::VideoEncoderOpen(s.videoPath, width, height, fps, error);
        if (!s.video) {
            ErrorLogAppend("Video recording failed: " + error);
            s.videoFailed = true;
            return;
        }
    }
    if (!s.video->FrameWrite(s.pixels.data())) {
        ErrorLogAppend("Video recording failed: " + s.videoPath);
        s.video.reset();
        s.videoFailed = true;
    }
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
    if (video) VideoFrameWrite(s, width, height);
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
