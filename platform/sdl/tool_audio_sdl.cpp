// The command-line tools' sound device on SDL2, with SDL loaded only when a tool opens the device: linked
// in, SDL and the libraries it needs cost every run of a tool more start-up time than rendering a minute
// of music. The mixer thread is a plain thread.

#include <SDL.h>
#include <dlfcn.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "audio/audio_device.h"
#include "platform/sdl/sdl_ring_player.h"
#include "platform/tool_audio.h"

namespace {

struct ToolAudio {
    void* library = nullptr;
    SdlRingPlayer player{};
    int(SDLCALL* setThreadPriority)(SDL_ThreadPriority) = nullptr;
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
    SdlAudioCalls& f = audio.player.calls;
    if (lookUp(f.initSubSystem, "SDL_InitSubSystem") && lookUp(f.quitSubSystem, "SDL_QuitSubSystem") &&
        lookUp(f.openAudioDevice, "SDL_OpenAudioDevice") &&
        lookUp(f.pauseAudioDevice, "SDL_PauseAudioDevice") &&
        lookUp(f.closeAudioDevice, "SDL_CloseAudioDevice") &&
        lookUp(audio.setThreadPriority, "SDL_SetThreadPriority"))
        return true;
    dlclose(audio.library);
    audio.library = nullptr;
    return false;
}

bool deviceOpen(int32_t rate, const int16_t* ring, uint32_t ringBytes) {
    return ringBytes != 0 && loadSdl() && ringPlayerOpen(audio.player, rate, ring, ringBytes);
}

bool devicePosition(uint64_t* bytes) {
    return ringPlayerPosition(audio.player, bytes);
}

void deviceClose() {
    ringPlayerClose(audio.player);
}

bool deviceThreadStart(AudioThreadRoutine routine) {
    if (audio.thread.joinable()) return false;
    audio.thread = std::thread([routine] {
        // Refused without the rights for it; the thread then runs at normal priority.
        if (audio.library) audio.setThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
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
