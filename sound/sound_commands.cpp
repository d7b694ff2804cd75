// The sound-effect commands over the slot table.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/int_convert.h"
#include "corvane.h"
#include "files/media_report.h"
#include "runtime/diagnostics.h"
#include "runtime/rt_text.h"
#include "sound/sound_file.h"
#include "sound/sound_runtime.h"
#include "sound/sound_state.h"
#include "sound/wav_reader.h"

namespace {

// A command's slot number: truncated, above 127 taken as 127; -1 for a negative one.
int SlotNumber(double v) {
    if (!(v == v) || v <= -1.0) return -1;
    if (v >= kSoundSlotHighest) return kSoundSlotHighest;
    return static_cast<int>(v);
}

double Finite(double v) {
    return v == v ? v : 0.0;
}

platform::AudioDevice* Output() {
    return SoundOutput();
}

// The slot's output, or null when the slot cannot play.
platform::AudioDevice* SlotOutput(const SoundSlot& slot) {
    if (!slot.device || slot.bufferCount == 0) return nullptr;
    return slot.device->output.get();
}

void BufferStop(platform::AudioDevice& out, platform::AudioBufferId id) {
    out.Stop(id);
    out.Rewind(id);
}

}  // namespace

double SoundLoad(const RtString& name, double slotNumber, double bufferCount) {
    std::string bytes;
    const std::string file = RtToStd(name);
    const bool found = SoundFileRead(file, bytes);
    // The file is at fault whatever becomes of the slot, so it is said first.
    if (!found) MediaMissingReport("SoundLoad", file);
    SoundState* state = Sound();
    const int n = SlotNumber(slotNumber);
    if (!state) return 0;
    if (n < 0) {
        LoadFailureReport(
            "SoundLoad", file,
            "slot " + std::to_string(ToInt(slotNumber)) + " is out of range (0 to 127)");
        return 0;
    }
    SoundSlot& slot = state->slots[size_t(n)];
    SoundSlotEmpty(slot);
    slot.device = &state->device;
    const int count = static_cast<int>(std::clamp(Finite(bufferCount), 1.0, 4.0));
    platform::AudioDevice* out = SoundOutput();
    if (!out) {
        // Not the program's mistake: the machine has no sound, and every sound is silent.
        DiagReportOnce(DiagLevel::Info, "no output", "SoundLoad",
                       "no audio output opened; sound effects are silent");
        return 0;
    }

    WavSound wav;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (!found) return 0;
    if (!WavParse(data, bytes.size(), wav)) {
        LoadFailureReport("SoundLoad", file,
                          "not a WAV sound that can be played (damaged, not RIFF/WAVE, or a "
                          "sample format the mixer lacks)");
        return 0;
    }
    const platform::AudioBufferId first = out->BufferCreate(wav.format, wav.data, wav.bytes);
    if (first == 0) {
        slot.device = nullptr;  // as when the device refuses the buffer: plays fail until a load
        LoadFailureReport("SoundLoad", file,
                          "the audio output refused its samples (not enough memory for " +
                              std::to_string(wav.bytes) + " bytes of sound)");
        return 0;
    }
    slot.buffers[0] = first;
    slot.bufferCount = 1;
    slot.fileName = RtToStd(name);
    // A duplicate the device cannot make is left out of the count, so no play reaches it.
    for (int i = 1; i < count; ++i) {
        const platform::AudioBufferId copy = out->BufferDuplicate(first);
        if (copy == 0) break;
        slot.buffers[i] = copy;
        slot.bufferCount = i + 1;
    }
    return 1;
}

double SoundPlay(double slotNumber, double pan, double volume) {
    SoundState* state = Sound();
    const int n = SlotNumber(slotNumber);
    if (!state || n < 0) return -1;
    SoundSlot& slot = state->slots[size_t(n)];
    platform::AudioDevice* out = SlotOutput(slot);
    if (!out) return -1;
    const double p = std::clamp(Finite(pan), -1.0, 1.0);
    const int percent = static_cast<int>(std::clamp(Finite(volume) * 100.0, 0.0, 100.0));

    platform::AudioBufferId id = slot.buffers[slot.nextBuffer];
    if (out->Playing(id)) {
        // One buffer is never restarted while it sounds; more take turns, the oldest cut off.
        if (slot.bufferCount == 1) return -1;
        slot.nextBuffer = (slot.nextBuffer + 1) % slot.bufferCount;
        id = slot.buffers[slot.nextBuffer];
        if (out->Playing(id)) BufferStop(*out, id);
    }
    out->VolumeSet(id, percent * 100 - 10000);
    out->PanSet(id, static_cast<int>(p * 10000.0));
    if (!out->Play(id)) return -1;
    return n * 256 + slot.nextBuffer;
}

double SoundPlayingGet(double channel) {
    SoundState* state = Sound();
    if (!state || !(channel >= 0.0)) return 0;
    // Channels of slots the commands cannot reach answer 0 rather than reading past them.
    if (channel >= (kSoundSlotHighest + 1) * 256.0) return 0;
    const int c = static_cast<int>(channel);
    const SoundSlot& slot = state->slots[size_t(c >> 8)];
    const int buffer = c & 255;
    platform::AudioDevice* out = SlotOutput(slot);
    if (!out || buffer >= slot.bufferCount) return 0;
    return out->Playing(slot.buffers[buffer]) ? 1 : 0;
}

void SoundStopAll() {
    SoundState* state = Sound();
    platform::AudioDevice* out = Output();
    if (!state || !out) return;
    for (int n = 0; n <= kSoundSlotHighest; ++n) {
        SoundSlot& slot = state->slots[size_t(n)];
        for (int b = 0; b < slot.bufferCount; ++b) BufferStop(*out, slot.buffers[b]);
    }
}
