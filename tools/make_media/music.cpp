// The show's music: about 105 s in A minor at 96 beats a minute, composed here and
// synthesised sample by sample (pad, bass, arpeggio, lead, drums), written as a WAV file
// and encoded to MP3 by ffmpeg with bit-exact flags, so every run gives the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image.h"
#include "pictures.h"
#include "platform/files.h"

namespace media {

namespace {

constexpr int kRate = 44100;
constexpr double kBeat = 60.0 / 96;
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 42;
constexpr double kPi = 3.14159265358979323846;

struct Stereo {
    std::vector<double> l, r;
    explicit Stereo(size_t n) : l(n), r(n) {}
    void add(size_t i, double v, double pan) {  // pan -1 left .. 1 right
        if (i >= l.size()) return;
        l[i] += v * std::sqrt((1 - pan) / 2);
        r[i] += v * std::sqrt((1 + pan) / 2);
    }
};

double Freq(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Chords per bar as MIDI roots with minor or major thirds: Am F C G / Dm Am F E.
struct Chord {
    int root;
    bool minor;
};
const Chord kVerse[4] = {{57, true}, {53, false}, {48, false}, {55, false}};
const Chord kBridge[4] = {{50, true}, {57, true}, {53, false}, {52, false}};

Chord ChordAt(int bar) {
    const bool bridge = (bar >= 16 && bar < 24) || (bar >= 32 && bar < 36);
    return bridge ? kBridge[bar % 4] : kVerse[bar % 4];
}

void ChordTones(Chord c, int out[3]) {
    out[0] = c.root;
    out[1] = c.root + (c.minor ? 3 : 4);
    out[2] = c.root + 7;
}

// How loud each part is in a bar: the arrangement.
struct Mix {
    double pad, bass, arp, lead, drums;
};
Mix Arrangement(int bar) {
    if (bar < 4) return {0.25 + 0.15 * bar, 0, 0, 0, 0};  // the dark pause and the logos
    if (bar < 8) return {0.8, 0.5, 0.6, 0, 0};            // the map appears
    if (bar < 32) return {0.7, 0.9, 0.6, 0.8, 1};         // the show
    if (bar < 36) return {0.9, 0.5, 0.3, 0.6, 0.4};       // the curtain
    const double fade = 1 - (bar - 36) / 6.0;
    return {0.8 * fade + 0.1, 0, 0.3 * fade, 0.5 * fade, 0};  // the banner
}

void Pad(Stereo& s, int bar, double level) {
    int tones[3];
    ChordTones(ChordAt(bar), tones);
    const size_t start = static_cast<size_t>(bar * kBar * kRate);
    const size_t len = static_cast<size_t>(kBar * 1.15 * kRate);
    for (int v = 0; v < 3; ++v)
        for (int d = -1; d <= 1; d += 2) {
            const double f = Freq(tones[v] + 12) * (1 + d * 0.0025);
            for (size_t i = 0; i < len; ++i) {
                const double t = static_cast<double>(i) / kRate;
                const double env = std::min(1.0, t / 0.6) * std::min(1.0, (kBar * 1.15 - t) / 0.5);
                double x = 0;
                for (int h = 1; h <= 6; ++h) x += std::sin(2 * kPi * f * h * t + h * v) / (h * 1.4);
                s.add(start + i, x * env * level * 0.035, d * 0.5);
            }
        }
}

void Bass(Stereo& s, int bar, double level) {
    const Chord c = ChordAt(bar);
    static const int kPattern[8] = {0, 0, 12, 0, 7, 0, 12, 10};
    for (int n = 0; n < 8; ++n) {
        const double f = Freq(c.root - 12 + (n == 7 ? 7 : kPattern[n] % 12 == 0 ? 0 : kPattern[n]));
        const size_t start = static_cast<size_t>((bar * kBar + n * kBeat / 2) * kRate);
        const size_t len = static_cast<size_t>(kBeat / 2 * 0.95 * kRate);
        for (size_t i = 0; i < len; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double env =
                std::exp(-t * 5) * std::min(1.0, t / 0.005) * std::min(1.0, (len - i) / 200.0);
            const double x = std::sin(2 * kPi * f * t) + 0.3 * std::sin(4 * kPi * f * t) +
                             0.15 * std::tanh(3 * std::sin(2 * kPi * f * t));
            s.add(start + i, x * env * level * 0.22, 0);
        }
    }
}

void Arp(Stereo& s, int bar, double level) {
    int tones[3];
    ChordTones(ChordAt(bar), tones);
    static const int kOrder[16] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 3, 2, 1, 2, 3};
    for (int n = 0; n < 16; ++n) {
        const int k = kOrder[n];
        const int midi = tones[k % 3] + 12 * (1 + k / 3);
        const double f = Freq(midi);
        const size_t start = static_cast<size_t>((bar * kBar + n * kBeat / 4) * kRate);
        const size_t len = static_cast<size_t>(0.35 * kRate);
        for (size_t i = 0; i < len; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double env = std::exp(-t * 11) * std::min(1.0, t / 0.003);
            const double ph = std::fmod(f * t, 1.0);
            const double tri = 4 * std::abs(ph - 0.5) - 1;
            s.add(start + i, tri * env * level * 0.06, n % 2 ? 0.45 : -0.45);
        }
    }
}

// The lead: two phrases over the verse chords and one over the bridge, in scale steps
// (A minor, 0 = A4), -99 a rest; eight eighths per bar.
const int kPhraseA[4][8] = {{0, -99, 2, 4, 7, 4, 2, 0},
                            {-2, -99, 0, 2, 5, 4, 2, -99},
                            {-3, -99, 0, 2, 4, 2, 0, -99},
                            {-1, 1, 2, 4, 1, -99, -1, -99}};
const int kPhraseB[4][8] = {{4, -99, 4, 5, 7, -99, 5, 4},
                            {2, -99, 0, 2, 3, 2, 0, -99},
                            {0, 2, 4, 5, 4, 2, 0, -2},
                            {-1, -99, -1, 0, 1, -99, -99, -99}};
const int kPhraseC[4][8] = {{3, -99, 2, 3, 5, 3, 2, 0},
                            {0, -99, 2, 4, 7, -99, 6, 4},
                            {5, 4, 2, 0, 2, -99, 0, -2},
                            {-3, -99, -2, -99, -1, -99, 1, -99}};

int ScaleMidi(int step) {
    static const int kSteps[7] = {0, 2, 3, 5, 7, 8, 10};
    const int oct = step >= 0 ? step / 7 : -((-step + 6) / 7);
    const int idx = step - oct * 7;
    int midi = 69 + 12 * oct + kSteps[idx];
    // The E major chord of the bridge wants a raised seventh.
    return midi;
}

void Lead(Stereo& s, int bar, double level) {
    const bool bridge = (bar >= 16 && bar < 24) || (bar >= 32 && bar < 36);
    const int(*phrase)[8] = bridge ? kPhraseC : ((bar / 4) % 2 ? kPhraseB : kPhraseA);
    const int* notes = phrase[bar % 4];
    for (int n = 0; n < 8; ++n) {
        if (notes[n] == -99) continue;
        int len8 = 1;
        while (n + len8 < 8 && notes[n + len8] == -99) ++len8;
        int midi = ScaleMidi(notes[n]);
        if (bridge && bar % 4 == 3 && notes[n] == 1) midi = 68 + 12;  // G sharp over E
        if (bridge && bar % 4 == 3 && notes[n] == -1) midi = 68;
        const double f = Freq(midi);
        const double dur = len8 * kBeat / 2;
        const size_t start = static_cast<size_t>((bar * kBar + n * kBeat / 2) * kRate);
        const size_t count = static_cast<size_t>((dur + 0.25) * kRate);
        for (size_t i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double env =
                std::min(1.0, t / 0.02) *
                (t < dur ? std::exp(-t * 1.2) : std::exp(-dur * 1.2) * std::exp(-(t - dur) * 14));
            const double vib = 1 + 0.004 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t / 0.3);
            const double x = std::sin(2 * kPi * f * vib * t) +
                             0.35 * std::sin(4 * kPi * f * vib * t) +
                             0.12 * std::sin(6 * kPi * f * vib * t);
            s.add(start + i, x * env * level * 0.10, 0.15);
            // A soft echo a dotted eighth later, to the other side.
            s.add(start + i + static_cast<size_t>(kBeat * 0.75 * kRate), x * env * level * 0.04,
                  -0.5);
        }
    }
}

void Drums(Stereo& s, int bar, double level, Lcg& noise) {
    for (int n = 0; n < 16; ++n) {
        const size_t start = static_cast<size_t>((bar * kBar + n * kBeat / 4) * kRate);
        const bool kick = n == 0 || n == 8 || n == 10 || (n == 14 && bar % 2);
        const bool snare = n == 4 || n == 12;
        const bool hat = n % 2 == 0 || (n == 15);
        double last = 0;
        for (size_t i = 0; i < static_cast<size_t>(0.3 * kRate); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double white = noise.unit() * 2 - 1;
            double x = 0;
            if (kick) {
                const double f = 45 + 90 * std::exp(-t * 30);
                x += std::sin(2 * kPi * f * t) * std::exp(-t * 9) * 0.9;
            }
            if (snare)
                x += (white * 0.6 + std::sin(2 * kPi * 185 * t) * 0.4) * std::exp(-t * 18) * 0.5;
            s.add(start + i, x * level * 0.5, 0);
            if (hat) {
                const double hp = white - last;
                s.add(start + i, hp * std::exp(-t * (n % 4 == 2 ? 25 : 60)) * level * 0.06, 0.3);
            }
            last = white;
        }
    }
}

bool WriteWav(const std::string& path, const Stereo& s) {
    std::string out;
    auto put = [&](const void* p, size_t n) { out.append(static_cast<const char*>(p), n); };
    const uint32_t frames = static_cast<uint32_t>(s.l.size());
    const uint32_t dataBytes = frames * 4;
    auto u32 = [&](uint32_t v) { put(&v, 4); };
    auto u16 = [&](uint16_t v) { put(&v, 2); };
    put("RIFF", 4);
    u32(36 + dataBytes);
    put("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(kRate);
    u32(kRate * 4);
    u16(4);
    u16(16);
    put("data", 4);
    u32(dataBytes);
    double peak = 1e-9;
    for (size_t i = 0; i < frames; ++i) peak = std::max({peak, std::abs(s.l[i]), std::abs(s.r[i])});
    const double gain = 0.89 / peak;
    for (size_t i = 0; i < frames; ++i) {
        const int16_t l = static_cast<int16_t>(std::lround(s.l[i] * gain * 32767));
        const int16_t r = static_cast<int16_t>(std::lround(s.r[i] * gain * 32767));
        put(&l, 2);
        put(&r, 2);
    }
    return platform::FileWriteWhole(path, out);
}

}  // namespace

bool WriteMusic(const std::string& dir) {
    Stereo s(static_cast<size_t>((kBars * kBar + 1.5) * kRate));
    Lcg noise(1234);
    for (int bar = 0; bar < kBars; ++bar) {
        const Mix m = Arrangement(bar);
        if (m.pad > 0) Pad(s, bar, m.pad);
        if (m.bass > 0) Bass(s, bar, m.bass);
        if (m.arp > 0) Arp(s, bar, m.arp);
        if (m.lead > 0) Lead(s, bar, m.lead);
        if (m.drums > 0) Drums(s, bar, m.drums, noise);
    }
    const std::string wav = dir + "/.music.wav";
    if (!WriteWav(wav, s)) return false;
    const std::string cmd = "ffmpeg -y -v error -i '" + wav +
                            "' -c:a libmp3lame -b:a 112k -fflags +bitexact -flags:a +bitexact "
                            "-map_metadata -1 '" +
                            dir + "/music.mp3'";
    const int rc = std::system(cmd.c_str());
    std::remove(wav.c_str());
    return rc == 0;
}

}  // namespace media
