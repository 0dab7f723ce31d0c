// Run under the thread sanitizer: the main thread opens and closes the output and starts, stops and
// frees what the mixer thread plays while the thread mixes.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "audio/audio_output.h"
#include "platform/headless/virtual_audio_device.h"
#include "tests/audio/audio_test_support.h"

namespace {

Sample* sharedSample = nullptr;
std::atomic<int> ticks{0};

void playSomething(Module* module) {
    Voice* pool = audioOutput.voicePool;
    for (int v = 0; v < 4; ++v) {
        if (sharedSample && (module->tick + v) % 3 == 0) voiceStart(v, sharedSample);
        voiceSetFrequency(pool[v], 11025 * (v + 1));
        voiceSetVolume(pool[v], (module->tick * 31 + v) % 256);
        voiceSetPan(pool[v], (module->tick * 17) % 256);
    }
    ++module->tick;
    ++ticks;
}

// A sample as the loader makes it: released under the mixer lock after its voices are stopped.
Sample* makeSample() {
    Sample* sample = static_cast<Sample*>(calloc(1, sizeof(Sample)));
    sample->data = static_cast<int16_t*>(calloc(500 + 8, sizeof(int16_t)));
    for (int i = 0; i < 500; ++i) sample->data[i] = static_cast<int16_t>(i * 60 - 15000);
    sample->length = 500;
    sample->loopMode = LoopPingPong;
    sample->loopStart = 100;
    sample->loopLength = 300;
    sample->data[400] = sample->data[399];
    return sample;
}

void releaseSample() {
    audioLockMixer();
    for (int v = 0; v < VoiceCount && audioOutput.voicePool; ++v)
        if (audioOutput.voicePool[v].sample == sharedSample) voiceStop(v);
    free(sharedSample->data);
    free(sharedSample);
    sharedSample = nullptr;
    audioUnlockMixer();
}

TEST(MixerConcurrencyTest, OpenCloseStartAndStopWhileTheThreadMixes) {
    registerReaderCallbacks();
    audioSetDevice(virtualAudioDevice());
    std::atomic<bool> running{true};
    std::thread clock([&] {
        while (running) {
            virtualAudioAdvance(884);
            std::this_thread::yield();
        }
    });
    for (int round = 0; round < 40; ++round) {
        virtualAudioSetDriven(round % 4 != 3); // every fourth round on the real clock
        ASSERT_TRUE(audioInit(44100));
        for (int i = 0; i < 10; ++i) {
            audioLockMixer();
            sharedSample = makeSample();
            audioUnlockMixer();
            FakeModule first(playSomething);
            FakeModule second(playSomething);
            first.start(125 + i);
            second.start(250);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            second.stop();
            releaseSample();
            std::this_thread::sleep_for(std::chrono::microseconds(300));
            first.stop();
        }
        audioClose();
        ASSERT_TRUE(audioInit(22050));
        audioClose(); // right after the open
    }
    running = false;
    clock.join();
    audioSetDevice(nullptr);
    EXPECT_EQ(audioOutput.moduleList.next, &audioOutput.moduleList);
    EXPECT_GT(ticks.load(), 100);
}

} // namespace
