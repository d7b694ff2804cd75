// The audio output over one SDL audio device. SDL pulls samples from its own thread; the
// callback only runs the mixer (or, while the recorder captures, copies what the main thread
// mixed), whose mutex the main thread holds for constant work only.
#include <SDL.h>

#include "platform/audio.h"
#include "platform/audio_mixer.h"

namespace platform {

namespace {

constexpr int kOutputRate = 22050;
constexpr int kOutputChannels = 2;
constexpr Uint16 kCallbackFrames = 512;  // about 23 ms per pull

class SdlAudioDevice final : public AudioMixer {
public:
    SdlAudioDevice() : AudioMixer(kOutputRate) {}

    ~SdlAudioDevice() override {
        // Closing waits for a callback in progress, so the mixer outlives every pull.
        if (device_ != 0) SDL_CloseAudioDevice(device_);
        if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open() {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        subsystemStarted_ = true;
        SDL_AudioSpec want{};
        want.freq = kOutputRate;
        want.format = AUDIO_S16SYS;
        want.channels = kOutputChannels;
        want.samples = kCallbackFrames;
        want.callback = &SdlAudioDevice::Pull;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware wants behind the callback.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) return false;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

private:
    static void SDLCALL Pull(void* self, Uint8* stream, int len) {
        const size_t frames = size_t(len) / (sizeof(int16_t) * kOutputChannels);
        static_cast<SdlAudioDevice*>(self)->DevicePull(reinterpret_cast<int16_t*>(stream), frames);
    }

    SDL_AudioDeviceID device_ = 0;
    bool subsystemStarted_ = false;
};

std::unique_ptr<AudioDevice> SdlAudioDeviceOpen() {
    auto device = std::make_unique<SdlAudioDevice>();
    if (!device->Open()) return nullptr;
    return device;
}

AudioDeviceFactory gFactory = nullptr;

}  // namespace

std::unique_ptr<AudioDevice> AudioDeviceOpen() {
    return gFactory ? gFactory() : SdlAudioDeviceOpen();
}

std::future<std::unique_ptr<AudioDevice>> AudioDeviceOpenInBackground() {
    return std::async(std::launch::async, [] {
        std::unique_ptr<AudioDevice> device = AudioDeviceOpen();
        SDL_TLSCleanup();
        return device;
    });
}

void AudioDeviceFactorySet(AudioDeviceFactory factory) {
    gFactory = factory;
}

}  // namespace platform
