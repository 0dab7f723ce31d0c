#include "platform/sdl/sdl_audio_device.h"

#include <SDL.h>

#include <atomic>
#include <cstring>

#include "audio/audio_device.h"

namespace {

struct SdlAudio {
    SDL_AudioDeviceID device = 0;
    const uint8_t* ring = nullptr;
    uint32_t ringBytes = 0;
    uint32_t readOffset = 0; // touched only by the device callback while the device runs
    std::atomic<uint64_t> playedBytes{0};
    SDL_Thread* thread = nullptr;
    AudioThreadRoutine routine = nullptr;
};

SdlAudio sdl;

// Copies the ring from where it left off, wrapping at its end, as a looping device plays it.
void SDLCALL fillFromRing(void*, Uint8* stream, int length) {
    uint32_t left = static_cast<uint32_t>(length);
    while (left > 0) {
        uint32_t chunk = sdl.ringBytes - sdl.readOffset;
        if (chunk > left) chunk = left;
        std::memcpy(stream, sdl.ring + sdl.readOffset, chunk);
        stream += chunk;
        left -= chunk;
        sdl.readOffset += chunk;
        if (sdl.readOffset == sdl.ringBytes) sdl.readOffset = 0;
    }
    sdl.playedBytes.fetch_add(static_cast<uint64_t>(length), std::memory_order_release);
}

bool deviceOpen(int32_t rate, const int16_t* ring, uint32_t ringBytes) {
    if (sdl.device || ringBytes == 0 || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    sdl.ring = reinterpret_cast<const uint8_t*>(ring);
    sdl.ringBytes = ringBytes;
    sdl.readOffset = 0;
    sdl.playedBytes.store(0);
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = rate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = 512;
    wanted.callback = fillFromRing;
    SDL_AudioSpec obtained;
    sdl.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!sdl.device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(sdl.device, 0);
    return true;
}

bool devicePosition(uint64_t* bytes) {
    if (!sdl.device) return false;
    *bytes = sdl.playedBytes.load(std::memory_order_acquire);
    return true;
}

void deviceClose() {
    if (!sdl.device) return;
    SDL_CloseAudioDevice(sdl.device);
    sdl.device = 0;
    sdl.ring = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int SDLCALL runMixer(void*) {
    // Refused without the rights for it; the thread then runs at normal priority.
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
    sdl.routine();
    return 0;
}

bool deviceThreadStart(AudioThreadRoutine routine) {
    sdl.routine = routine;
    sdl.thread = SDL_CreateThread(runMixer, "mixer", nullptr);
    return sdl.thread != nullptr;
}

void deviceThreadJoin() {
    if (!sdl.thread) return;
    SDL_WaitThread(sdl.thread, nullptr);
    sdl.thread = nullptr;
}

void deviceSleep() {
    SDL_Delay(2);
}

const AudioDevice device = {deviceOpen,       devicePosition, deviceClose, deviceThreadStart,
                            deviceThreadJoin, deviceSleep,    nullptr};

} // namespace

const AudioDevice* sdlAudioDevice() {
    return &device;
}
