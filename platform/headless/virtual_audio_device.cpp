#include "platform/headless/virtual_audio_device.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "audio/audio_device.h"

namespace {

using Clock = std::chrono::steady_clock;

struct VirtualAudio {
    std::mutex mutex;
    std::condition_variable changed;
    bool driven = false;
    bool open = false;
    int32_t rate = 0;
    const int16_t* ring = nullptr;
    Clock::time_point openedAt;
    // Driven clock: the position, how often it was moved, the move the thread last looked at and the
    // move after which it went to sleep.
    uint64_t drivenFrames = 0;
    uint64_t moves = 0;
    uint64_t movesSeen = 0;
    uint64_t movesDone = 0;
    bool threadAlive = false;
    bool wakeRequested = false;
    bool asleep = false; // the thread has gone to sleep at least once
    std::thread thread;
};

VirtualAudio& state() {
    static VirtualAudio audio;
    return audio;
}

uint64_t playedFrames(VirtualAudio& audio) {
    if (!audio.open) return 0;
    if (audio.driven) return audio.drivenFrames;
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - audio.openedAt);
    return static_cast<uint64_t>(elapsed.count()) * static_cast<uint64_t>(audio.rate) / 1000000;
}

bool deviceOpen(int32_t rate, const int16_t* ring, uint32_t) {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    audio.open = true;
    audio.rate = rate;
    audio.ring = ring;
    audio.openedAt = Clock::now();
    audio.drivenFrames = 0;
    return true;
}

bool devicePosition(uint64_t* bytes) {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    audio.movesSeen = audio.moves;
    *bytes = playedFrames(audio) * 4;
    return true;
}

void deviceClose() {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    audio.open = false;
    audio.ring = nullptr;
}

bool deviceThreadStart(AudioThreadRoutine routine) {
    VirtualAudio& audio = state();
    std::unique_lock<std::mutex> lock(audio.mutex);
    audio.threadAlive = true;
    audio.wakeRequested = false;
    audio.asleep = false;
    audio.movesSeen = audio.movesDone = audio.moves;
    audio.thread = std::thread([routine] {
        routine();
        VirtualAudio& ended = state();
        std::lock_guard<std::mutex> endLock(ended.mutex);
        ended.threadAlive = false;
        ended.changed.notify_all();
    });
    // Driven, the thread's first look (at the position of the open) is over before the open returns.
    if (audio.driven) audio.changed.wait(lock, [&] { return audio.asleep || !audio.threadAlive; });
    return true;
}

void deviceThreadJoin() {
    VirtualAudio& audio = state();
    if (audio.thread.joinable()) audio.thread.join();
}

void deviceSleep() {
    VirtualAudio& audio = state();
    std::unique_lock<std::mutex> lock(audio.mutex);
    if (!audio.driven) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return;
    }
    audio.movesDone = audio.movesSeen;
    audio.asleep = true;
    audio.changed.notify_all();
    audio.changed.wait(lock, [&] { return audio.moves != audio.movesSeen || audio.wakeRequested; });
}

void deviceWake() {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    audio.wakeRequested = true;
    audio.changed.notify_all();
}

const AudioDevice device = {deviceOpen,       devicePosition, deviceClose, deviceThreadStart,
                            deviceThreadJoin, deviceSleep,    deviceWake};

} // namespace

const AudioDevice* virtualAudioDevice() {
    return &device;
}

void virtualAudioSetDriven(bool driven) {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    audio.driven = driven;
}

void virtualAudioAdvance(uint32_t frames) {
    VirtualAudio& audio = state();
    std::unique_lock<std::mutex> lock(audio.mutex);
    audio.drivenFrames += frames;
    const uint64_t move = ++audio.moves;
    audio.changed.notify_all();
    audio.changed.wait(lock,
                       [&] { return !audio.threadAlive || audio.wakeRequested || audio.movesDone >= move; });
}

uint64_t virtualAudioPlayedFrames() {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    return playedFrames(audio);
}

bool virtualAudioIsOpen() {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    return audio.open;
}

const int16_t* virtualAudioRing() {
    VirtualAudio& audio = state();
    std::lock_guard<std::mutex> lock(audio.mutex);
    return audio.ring;
}
