// MusicPlay, MusicStop, MusicVolumeSet, MusicPlayingGet and the loop check. The player stands
// where a media window would: each window message is one player call, in the same order.
#include <cmath>
#include <string>

#include "core/int_convert.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/media_report.h"
#include "input/input.h"
#include "input/input_runtime.h"
#include "runtime/diagnostics.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/window_events.h"
#include "sound/music_rules.h"
#include "sound/music_runtime.h"
#include "sound/music_state.h"

namespace {

double PieceLength(platform::MediaPlayer* p) {
    return MusicLengthFrom(p ? p->LengthMs() : 0);
}

void MusicShutdown() {
    MusicStop();
    Music().video.reset();
}

}  // namespace

void MusicStop() {
    MusicState& m = Music();
    m.volume = -1.0;
    m.loopEnd = 0.0;
    if (m.player) m.player->Stop();
    m.player.reset();
}

void MusicPlay(const RtString& name, double loop) {
    MusicState& m = Music();
    MusicStop();
    std::string path;
    if (!MusicResolve(name.Str(), path)) {
        MediaMissingReport("MusicPlay", name.Str(), true);
        return;
    }
    m.name = path;

    // The pointer is hidden while the piece opens and given back after, then a hidden one is
    // shown and hidden once more: opening a player could take the pointer's state from the
    // window, and this puts the mouse device back the way the program left it.
    InputState& in = Input();
    const bool pointerWasShown = in.pointerShown != 0;
    PointerShowSet(in, false);

    m.player = platform::MediaPlayerOpen(m.name, MusicAudioDevice());
    // A piece nobody can hear (unreadable file, or no audio device) is no piece: the music
    // stays stopped rather than "looping" silently.
    if (!m.player) {
        LoadFailureReport("MusicPlay", name.Str(),
                          "cannot be played (not a sound file the decoder opens, or its "
                          "libraries are missing)");
    } else if (!m.player->Audible()) {
        m.player.reset();
        if (MusicAudioDevice())
            LoadFailureReport("MusicPlay", name.Str(), "holds no sound that can be played");
        else
            DiagReportOnce(DiagLevel::Info, "no output", "MusicPlay",
                           "no audio output opened; music is silent");
    }

    const double length = PieceLength(m.player.get());
    m.loopEnd = (ToInt(loop) != 0 && m.player) ? TimerGet() + length : 0.0;
    if (m.player) {
        m.player->SeekStart();
        m.player->Play();
    }
    // The player has no window, so the keyboard focus never left the main window.
    PointerShowSet(in, pointerWasShown);
    if (m.volume != 1.0) {
        m.volume = 1.0;
        if (m.player) m.player->VolumeSet(1000);
    }
    runtimeState.paused = false;
    if (!in.pointerShown) {
        PointerShowSet(in, true);
        PointerShowSet(in, false);
    }
}

void MusicVolumeSet(double volume) {
    MusicState& m = Music();
    int send = 0;
    if (MusicVolumeChange(m.volume, volume, send) && m.player) m.player->VolumeSet(send);
}

double MusicPlayingGet() {
    MusicState& m = Music();
    if (!m.player) return 0;
    if (m.loopEnd > 0) return 1;
    return m.player->EndMs() > m.player->PositionMs() ? 1 : 0;
}

void MusicLoopCheck() {
    MusicState& m = Music();
    if (m.loopEnd <= 0 || !MusicLoopDue(m.loopEnd, TimerGet())) return;
    const double length = PieceLength(m.player.get());
    m.loopEnd = TimerGet() + length;
    if (!m.player) return;
    m.player->Play();
    m.player->SeekStart();
    m.player->Play();
}

void MusicAudioDeviceShare(platform::AudioDevice* device) {
    Music().sharedDevice = device;
}

void MusicRuntimeStart() {
    FrameCallRegister(FrameCall::MusicCheck, MusicLoopCheck);  // each frame and in input waits
    ShutdownRegister(ShutdownStep::Music, MusicShutdown);
}
