#pragma once
// Samples, voices and stand-in modules for the audio engine's tests, without the loader or the replay
// engine.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/audio_output.h"
#include "audio/voice.h"
#include "music/module.h"
#include "music/source.h"
#include "music/tempo.h"

constexpr uint64_t FrameOne = uint64_t{1} << 32;

// A sample over exactly length + 8 frames of heap (so that the address sanitizer sees any read beyond
// the slack), with the guard frame at the loop end as the loader writes it.
struct TestSample {
    Sample sample{};

    TestSample(const std::vector<int16_t>& values, uint8_t loopMode = LoopNone, uint32_t loopStart = 0,
               uint32_t loopLength = 0) {
        const uint32_t length = static_cast<uint32_t>(values.size());
        sample.data = static_cast<int16_t*>(calloc(length + 8, sizeof(int16_t)));
        if (!values.empty()) std::memcpy(sample.data, values.data(), values.size() * sizeof(int16_t));
        sample.length = length;
        sample.loopMode = loopMode;
        if (loopMode == LoopNone) {
            sample.loopStart = 0;
            sample.loopLength = length;
        } else {
            sample.loopStart = loopStart;
            sample.loopLength = loopLength;
        }
        const uint64_t end = uint64_t{sample.loopStart} + sample.loopLength;
        if (end > 0 && end <= length) {
            const uint32_t guard = static_cast<uint32_t>(end);
            if (loopMode == LoopPingPong)
                sample.data[guard] = sample.data[guard - 1];
            else if (loopMode == LoopForward)
                sample.data[guard] = sample.data[sample.loopStart];
        }
    }
    ~TestSample() { free(sample.data); }
    TestSample(const TestSample&) = delete;
    TestSample& operator=(const TestSample&) = delete;
};

inline std::vector<int16_t> ramp(int length, int from = 0, int step = 100) {
    std::vector<int16_t> values(length);
    for (int i = 0; i < length; ++i) values[i] = static_cast<int16_t>(from + i * step);
    return values;
}

inline void setPosition(Voice& voice, uint64_t position) {
    voice.positionInt = static_cast<uint32_t>(position >> 32);
    voice.positionFrac = static_cast<uint32_t>(position);
}
inline uint64_t positionOf(const Voice& voice) {
    return (uint64_t{voice.positionInt} << 32) | voice.positionFrac;
}
inline void setStep(Voice& voice, uint64_t step) {
    voice.stepInt = static_cast<uint32_t>(step >> 32);
    voice.stepFrac = static_cast<uint32_t>(step);
}

// A voice playing at fixed gains (no ramp pending), the way it is after its first ramp has run out.
inline void settleGains(Voice& voice, uint8_t left, uint8_t right) {
    voice.gainLeft = voice.rampTargetLeft = voice.currentLeft = left;
    voice.gainRight = voice.rampTargetRight = voice.currentRight = right;
    voice.rampFramesLeft = 0;
}

// A stopped module record as the loader leaves it: zero-filled and linked to itself.
struct FakeModule {
    Module* module;
    explicit FakeModule(TickHandler handler = nullptr) {
        module = static_cast<Module*>(calloc(1, sizeof(Module)));
        module->next = module->prev = module;
        module->tickHandler = handler;
    }
    ~FakeModule() {
        audioLockMixer();
        listUnlink(module);
        audioUnlockMixer();
        free(module);
    }
    FakeModule(const FakeModule&) = delete;
    FakeModule& operator=(const FakeModule&) = delete;

    // What starting a module does to the fields the mixer thread reads.
    void start(int32_t bpm = 125) {
        audioLockMixer();
        module->samplesToNextTick = 0;
        moduleSetBpm(module, bpm);
        listInsertBefore(module, &audioOutput.moduleList);
        module->playing = 1;
        audioUnlockMixer();
    }
    void stop() {
        audioLockMixer();
        listUnlink(module);
        module->playing = 0;
        audioUnlockMixer();
    }
};

namespace audio_test {
inline void* openNothing(const char*) {
    return nullptr;
}
inline void closeNothing(void*) {}
inline int32_t readNothing(uint8_t*, int32_t, void*) {
    return 0;
}
inline int32_t seekNothing(void*, int32_t, int32_t) {
    return 0;
}
inline int32_t tellNothing(void*) {
    return 0;
}
} // namespace audio_test

// audioInit wants the module reader callbacks registered; these read nothing.
inline void registerReaderCallbacks() {
    setSourceCallbacks(audio_test::openNothing, audio_test::closeNothing, audio_test::readNothing,
                       audio_test::seekNothing, audio_test::tellNothing);
}
