#pragma once
// An SDL2 audio device that plays a ring of 16-bit stereo frames over and over, as a looping device
// would, counting its own play position. It reaches SDL only through the calls it is given, so the
// intro hands it SDL's own functions and the tools the ones they load at run time.

#include <SDL.h>

#include <atomic>
#include <cstdint>

struct SdlAudioCalls {
    int(SDLCALL* initSubSystem)(Uint32);
    void(SDLCALL* quitSubSystem)(Uint32);
    SDL_AudioDeviceID(SDLCALL* openAudioDevice)(const char*, int, const SDL_AudioSpec*, SDL_AudioSpec*, int);
    void(SDLCALL* pauseAudioDevice)(SDL_AudioDeviceID, int);
    void(SDLCALL* closeAudioDevice)(SDL_AudioDeviceID);
};

struct SdlRingPlayer {
    SdlAudioCalls calls;
    SDL_AudioDeviceID device = 0;
    const uint8_t* ring = nullptr;
    uint32_t ringBytes = 0;
    uint32_t readOffset = 0; // touched only by the device callback while the device runs
    std::atomic<uint64_t> playedBytes{0};
};

// Starts the device on the ring. False when one is open already, the ring is empty or SDL refuses.
bool ringPlayerOpen(SdlRingPlayer& player, int32_t rate, const int16_t* ring, uint32_t ringBytes);
// Bytes played since the open; false when no device is open.
bool ringPlayerPosition(const SdlRingPlayer& player, uint64_t* bytes);
void ringPlayerClose(SdlRingPlayer& player);
