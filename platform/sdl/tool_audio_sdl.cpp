// The command-line tools' sound device on SDL2, with SDL loaded only when a tool opens the device: linked
// in, SDL and the libraries it needs cost every run of a tool more start-up time than rendering a minute
// of music. The device plays the ring over and over, counting its own play position; the mixer thread is
// a plain thread.

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "audio/audio_device.h"
#include "platform/tool_audio.h"

namespace {

struct SdlFunctions {
    int(SDLCALL* initSubSystem)(Uint32);
    void(SDLCALL* quitSubSystem)(Uint32);
    SDL_AudioDeviceID(SDLCALL* openAudioDevice)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*, int);
    void(SDLCALL* pauseAudioDevice)(SDL_AudioDeviceID, int);
    void(SDLCALL* closeAudioDevice)(SDL_AudioDeviceID);
    int(SDLCALL* setThreadPriority)(SDL_ThreadPriority);
};

struct ToolAudio {
    void* library = nullptr;
    SdlFunctions sdl{};
    SDL_AudioDeviceID device = 0;
    const uint8_t* ring = nullptr;
    uint32_t ringBytes = 0;
    uint32_t readOffset = 0; // touched only by the device callback while the device runs
    std::atomic<uint64_t> playedBytes{0};
    std::thread thread;
};

ToolAudio audio;

template <typename Function> bool lookUp(Function& function, const char* name) {
    void* symbol = dlsym(audio.library, name);
    std::memcpy(&function, &symbol, sizeof function);
    return symbol != nullptr;
}

bool loadSdl() {
    if (audio.library) return true;
    audio.library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!audio.library) return false;
    SdlFunctions& f = audio.sdl;
    if (lookUp(f.initSubSystem, "SDL_InitSubSystem") && lookUp(f.quitSubSystem, "SDL_QuitSubSystem") &&
        lookUp(f.openAudioDevice, "SDL_OpenAudioDevice") &&
        lookUp(f.pauseAudioDevice, "SDL_PauseAudioDevice") &&
        lookUp(f.closeAudioDevice, "SDL_CloseAudioDevice") &&
        lookUp(f.setThreadPriority, "SDL_SetThreadPriority"))
        return true;
    dlclose(audio.library);
    audio.library = nullptr;
    return false;
}

// Copies the ring from where it left off, wrapping at its end, as a looping device plays it.
void SDLCALL fillFromRing(void*, Uint8* stream, int length) {
    uint32_t left = static_cast<uint32_t>(length);
    while (left > 0) {
        uint32_t chunk = audio.ringBytes - audio.readOffset;
        if (chunk > left) chunk = left;
        std::memcpy(stream, audio.ring + audio.readOffset, chunk);
        stream += chunk;
        left -= chunk;
        audio.readOffset += chunk;
        if (audio.readOffset == audio.ringBytes) audio.readOffset = 0;
    }
    audio.playedBytes.fetch_add(static_cast<uint64_t>(length), std::memory_order_release);
}

bool deviceOpen(int32_t rate, const int16_t* ring, uint32_t ringBytes) {
    if (audio.device || ringBytes == 0 || !loadSdl() || audio.sdl.initSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    audio.ring = reinterpret_cast<const uint8_t*>(ring);
    audio.ringBytes = ringBytes;
    audio.readOffset = 0;
    audio.playedBytes.store(0);
    SDL_AudioSpec wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.freq = rate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = 512;
    wanted.callback = fillFromRing;
    SDL_AudioSpec obtained;
    audio.device = audio.sdl.openAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!audio.device) {
        audio.sdl.quitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audio.sdl.pauseAudioDevice(audio.device, 0);
    return true;
}

bool devicePosition(uint64_t* bytes) {
    if (!audio.device) return false;
    *bytes = audio.playedBytes.load(std::memory_order_acquire);
    return true;
}

void deviceClose() {
    if (!audio.device) return;
    audio.sdl.closeAudioDevice(audio.device);
    audio.device = 0;
    audio.ring = nullptr;
    audio.sdl.quitSubSystem(SDL_INIT_AUDIO);
}

bool deviceThreadStart(AudioThreadRoutine routine) {
    if (audio.thread.joinable()) return false;
    audio.thread = std::thread([routine] {
        // Refused without the rights for it; the thread then runs at normal priority.
        if (audio.library) audio.sdl.setThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
        routine();
    });
    return true;
}

void deviceThreadJoin() {
    if (audio.thread.joinable()) audio.thread.join();
}

void deviceSleep() {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

const AudioDevice device = {deviceOpen,       devicePosition, deviceClose, deviceThreadStart,
                            deviceThreadJoin, deviceSleep,    nullptr};

} // namespace

const AudioDevice* toolAudioDevice() {
    return &device;
}
