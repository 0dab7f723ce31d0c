#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "audio/audio_device.h"
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "platform/headless/virtual_audio_device.h"
#include "tests/audio/audio_test_support.h"

namespace {

class AudioOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registerReaderCallbacks();
        virtualAudioSetDriven(true);
        audioSetDevice(virtualAudioDevice());
        audioOutput.nextBlock = 0;
    }
    void TearDown() override {
        audioClose();
        audioSetDevice(nullptr);
    }
};

TEST_F(AudioOutputTest, OpensWithTheBlockRingAndRampSizesOfTheRate) {
    struct Case {
        int32_t rate, blockFrames, rampLength;
    } cases[] = {{44100, 884, 128}, {22050, 444, 64}, {48000, 960, 139}, {8000, 160, 23}, {100, 4, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        ASSERT_TRUE(audioInit(c.rate));
        EXPECT_EQ(audioOutput.mixingRate, c.rate);
        EXPECT_EQ(audioOutput.blockFrames, c.blockFrames);
        EXPECT_EQ(audioOutput.ringFrames, 20 * c.blockFrames);
        EXPECT_EQ(audioOutput.blockCount, 20);
        EXPECT_EQ(audioOutput.rampLength, c.rampLength);
        EXPECT_EQ(audioOutput.rampReciprocal, static_cast<float>(1.0 / c.rampLength));
        EXPECT_TRUE(virtualAudioIsOpen());
        EXPECT_EQ(virtualAudioRing(), audioOutput.outputBuffer);
        EXPECT_TRUE(audioOutput.threadRunning);
    }
    const auto mixAddress = reinterpret_cast<uintptr_t>(audioOutput.mixBuffer);
    const auto allocation = reinterpret_cast<uintptr_t>(audioOutput.mixAllocation);
    EXPECT_EQ(mixAddress % 16, 0u);
    EXPECT_LE(mixAddress - allocation, 15u);
    EXPECT_EQ(audioOutput.mixRoutine, &mixBlock);
    EXPECT_EQ(audioOutput.clipRoutine, &clipBlock);
    for (int i = 0; i < 2 * audioOutput.ringFrames; ++i) ASSERT_EQ(audioOutput.outputBuffer[i], 0);

    int index = 0;
    for (ListNode* node = audioOutput.voiceList.next; node != &audioOutput.voiceList; node = node->next) {
        ASSERT_EQ(node, &audioOutput.voicePool[index]);
        ASSERT_EQ(audioOutput.voicePool[index].index, index);
        ++index;
    }
    EXPECT_EQ(index, VoiceCount);
}

TEST_F(AudioOutputTest, RefusesWithoutReaderCallbacksAndLeavesAnOpenOutputAlone) {
    ASSERT_TRUE(audioInit(44100));
    setSourceCallbacks(nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(audioInit(22050));
    EXPECT_EQ(audioOutput.mixingRate, 44100);
    EXPECT_NE(audioOutput.voicePool, nullptr);
    EXPECT_TRUE(audioOutput.threadRunning);
    EXPECT_TRUE(virtualAudioIsOpen());
}

bool refuseOpen(int32_t, const int16_t*, uint32_t) {
    return false;
}

TEST_F(AudioOutputTest, FailureToOpenLeavesEverythingClosed) {
    ASSERT_TRUE(audioInit(44100));
    static AudioDevice broken = *virtualAudioDevice();
    broken.open = refuseOpen;
    audioSetDevice(&broken);
    EXPECT_FALSE(audioInit(44100));
    EXPECT_FALSE(virtualAudioIsOpen()); // the output opened before is closed
    EXPECT_EQ(audioOutput.voicePool, nullptr);
    EXPECT_EQ(audioOutput.mixBuffer, nullptr);
    EXPECT_EQ(audioOutput.outputBuffer, nullptr);
    EXPECT_FALSE(audioOutput.threadRunning);

    audioSetDevice(virtualAudioDevice());
    EXPECT_FALSE(audioInit(MinMixingRate - 1));
    EXPECT_FALSE(audioInit(0));
    EXPECT_FALSE(audioInit(MaxMixingRate + 1));
    EXPECT_FALSE(audioInitOffline(-44100));
    audioSetDevice(nullptr);
    EXPECT_FALSE(audioInit(44100));
}

TEST_F(AudioOutputTest, CloseIsSafeTwiceAndWithoutOpen) {
    audioClose();
    audioClose();
    ASSERT_TRUE(audioInit(44100));
    audioClose();
    audioClose();
    EXPECT_FALSE(virtualAudioIsOpen());
    EXPECT_EQ(audioOutput.voicePool, nullptr);
    EXPECT_EQ(audioOutput.mixRoutine, nullptr);
    EXPECT_EQ(audioOutput.voiceList.next, &audioOutput.voiceList);
    EXPECT_EQ(audioOutput.threadExited.load(), 1);
    EXPECT_EQ(audioRenderBlock(nullptr), 0);
}

TEST_F(AudioOutputTest, StartedModuleStaysListedAcrossCloseAndIsRebound) {
    ASSERT_TRUE(audioInit(44100));
    FakeModule fake;
    fake.module->channelCount = 3;
    fake.module->channels = static_cast<Channel*>(calloc(3, sizeof(Channel)));
    for (int i = 0; i < 3; ++i) {
        fake.module->channels[i].voiceIndex = i;
        fake.module->channels[i].voice = &audioOutput.voicePool[i];
    }
    fake.start(125);
    EXPECT_EQ(fake.module->samplesPerTick, 882);

    audioClose();
    EXPECT_EQ(audioOutput.moduleList.next, fake.module);
    EXPECT_EQ(fake.module->channels[1].voice, nullptr);

    ASSERT_TRUE(audioInit(22050));
    EXPECT_EQ(fake.module->samplesPerTick, 441);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(fake.module->channels[i].voice, &audioOutput.voicePool[i]);
    fake.stop();
    free(fake.module->channels);
    fake.module->channels = nullptr;
}

// A device whose thread starts late: closing at once must still wait for it to run and end.
std::thread lateThread;
std::atomic<bool> lateRoutineEnded{false};

bool startLate(AudioThreadRoutine routine) {
    lateRoutineEnded = false;
    lateThread = std::thread([routine] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        routine();
        lateRoutineEnded = true;
    });
    return true;
}
void joinLate() {
    lateThread.join();
}

TEST_F(AudioOutputTest, CloseRightAfterOpenReturnsOnlyOnceTheThreadHasEnded) {
    static AudioDevice late = *virtualAudioDevice();
    late.threadStart = startLate;
    late.threadJoin = joinLate;
    late.wake = nullptr;
    audioSetDevice(&late);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(audioInit(44100));
        EXPECT_EQ(audioOutput.threadExited.load(), 0);
        audioClose();
        EXPECT_TRUE(lateRoutineEnded.load());
        EXPECT_EQ(audioOutput.threadExited.load(), 1);
    }
}

TEST_F(AudioOutputTest, OfflineOutputRendersBlockAfterBlockWithoutADevice) {
    ASSERT_TRUE(audioInitOffline(44100));
    EXPECT_FALSE(virtualAudioIsOpen());
    EXPECT_FALSE(audioOutput.threadRunning);
    std::vector<int16_t> block(2 * 884, 7);
    for (int i = 0; i < 45; ++i) {
        ASSERT_EQ(audioOutput.nextBlock, i % 20);
        ASSERT_EQ(audioRenderBlock(block.data()), 884);
    }
    EXPECT_EQ(block, std::vector<int16_t>(2 * 884, 0));
    // The device's output is not offline: rendering is refused while the thread owns the ring.
    ASSERT_TRUE(audioInit(44100));
    EXPECT_EQ(audioRenderBlock(block.data()), 0);
}

} // namespace
