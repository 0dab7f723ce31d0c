#include "platform/sdl/sdl_audio_device.h"

#include <SDL.h>

#include "audio/audio_device.h"
#include "platform/sdl/sdl_ring_player.h"

namespace {

struct SdlAudio {
    SdlRingPlayer player{{SDL_InitSubSystem, SDL_QuitSubSystem, SDL_OpenAudioDevice, SDL_PauseAudioDevice,
                          SDL_CloseAudioDevice}};
    SDL_Thread* thread = nullptr;
    AudioThreadRoutine routine = nullptr;
};

SdlAudio sdl;

bool deviceOpen(int32_t rate, const int16_t* ring, uint32_t ringBytes) {
    return ringPlayerOpen(sdl.player, rate, ring, ringBytes);
}

bool devicePosition(uint64_t* bytes) {
    return ringPlayerPosition(sdl.player, bytes);
}

void deviceClose() {
    ringPlayerClose(sdl.player);
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
