// The SDL audio device on SDL's dummy driver, which consumes the ring in real time without sound.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio/audio_device.h"
#include "audio/audio_output.h"
#include "platform/sdl/sdl_audio_device.h"
#include "tests/audio/audio_test_support.h"

namespace {

int ticks = 0;
void countTick(Module*) {
    ++ticks;
}

TEST(SdlAudioDeviceTest, PlaysTheRingAndFeedsItFromTheMixerThread) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    registerReaderCallbacks();
    audioSetDevice(sdlAudioDevice());
    for (int round = 0; round < 2; ++round) {
        audioOutput.nextBlock = 0;
        ASSERT_TRUE(audioInit(44100));
        FakeModule module(countTick);
        module.start(125);
        uint64_t played = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int32_t next = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            audioLockMixer();
            next = audioOutput.nextBlock;
            audioUnlockMixer();
            if (next >= 3) break;
        }
        EXPECT_GE(next, 3);
        EXPECT_TRUE(audioOutput.device->position(&played));
        EXPECT_GT(played, 2u * 884 * 4);
        module.stop();
        audioClose();
        EXPECT_GT(ticks, 0);
    }
    audioSetDevice(nullptr);
}

} // namespace
