#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_device.h"
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "platform/headless/virtual_audio_device.h"
#include "tests/audio/audio_test_support.h"

namespace {

// What the block routine did, in order: "tick A", "mix 882", ...
std::vector<std::string> events;

void recordMix(float* destination, ListNode* voiceList, int32_t frameCount) {
    events.push_back("mix " + std::to_string(frameCount));
    mixBlock(destination, voiceList, frameCount);
}
void tickA(Module*) {
    events.push_back("tick A");
}
void tickB(Module*) {
    events.push_back("tick B");
}
void tickFaster(Module* module) {
    events.push_back("tick");
    moduleSetBpm(module, 250);
}

class MixerThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registerReaderCallbacks();
        virtualAudioSetDriven(true);
        audioSetDevice(virtualAudioDevice());
        audioOutput.nextBlock = 0;
        events.clear();
    }
    void TearDown() override {
        audioClose();
        audioSetDevice(nullptr);
        virtualAudioSetDriven(false);
    }
    void recordPieces() {
        audioLockMixer();
        audioOutput.mixRoutine = recordMix;
        audioUnlockMixer();
    }
};

TEST_F(MixerThreadTest, RenewsEachBlockOnceTheDeviceHasMovedPastIt) {
    ASSERT_TRUE(audioInit(44100));
    const uint32_t block = 884;
    struct Step {
        uint32_t frames;   // how far the device moves before the thread's look
        int32_t nextBlock; // the next block to mix after that look
    } steps[] = {
        {0, 0},                                          // device in block 0: block 0 is the one playing
        {block - 1, 0},                                  // still in block 0
        {1, 1},                                          // block 1: block 0 is renewed
        {0, 1},                                          // block 1 is playing
        {block, 2},                                      // block 2: block 1 is renewed
        {5 * block, 3},                                  // block 7: one block per look...
        {0, 4},          {0, 5}, {0, 6}, {0, 7}, {0, 7}, // ...until the one playing
        {13 * block, 8}, // block 20 = block 0 after the wrap: blocks 7..19 are behind it
    };
    for (const Step& step : steps) {
        virtualAudioAdvance(step.frames);
        ASSERT_EQ(audioOutput.nextBlock, step.nextBlock) << virtualAudioPlayedFrames();
    }
    for (int look = 0; look < 11; ++look) virtualAudioAdvance(0);
    EXPECT_EQ(audioOutput.nextBlock, 19);
    virtualAudioAdvance(0);
    EXPECT_EQ(audioOutput.nextBlock, 0);
    virtualAudioAdvance(0);
    EXPECT_EQ(audioOutput.nextBlock, 0); // block 0 plays: wait for it
    virtualAudioAdvance(block);
    EXPECT_EQ(audioOutput.nextBlock, 1);
}

TEST_F(MixerThreadTest, ReopenedOutputFillsTheRingFromWhereItLeftOff) {
    audioOutput.nextBlock = 5;
    ASSERT_TRUE(audioInit(44100));
    // While the device plays block 0 or 1, any other block is mixed at once, one per look; the first
    // look comes as the thread starts.
    EXPECT_EQ(audioOutput.nextBlock, 6);
    for (int expected = 7; expected <= 19; ++expected) {
        virtualAudioAdvance(0);
        ASSERT_EQ(audioOutput.nextBlock, expected);
    }
    virtualAudioAdvance(0);
    virtualAudioAdvance(0);
    EXPECT_EQ(audioOutput.nextBlock, 0);
}

TEST_F(MixerThreadTest, VoicesAreSilentWithoutAStartedModule) {
    ASSERT_TRUE(audioInit(44100));
    recordPieces();
    TestSample sample(std::vector<int16_t>(100, 1000), LoopForward, 0, 100);
    audioLockMixer();
    Voice& voice = audioOutput.voicePool[0];
    voiceStart(0, &sample.sample);
    voiceSetFrequency(voice, 44100);
    voiceSetVolume(voice, 255);
    audioUnlockMixer();
    for (int i = 0; i < 3; ++i) virtualAudioAdvance(884);
    EXPECT_EQ(audioOutput.nextBlock, 3);
    EXPECT_TRUE(events.empty());
    for (int i = 0; i < 3 * 2 * 884; ++i) ASSERT_EQ(audioOutput.outputBuffer[i], 0);
    audioLockMixer();
    voiceStop(0);
    audioUnlockMixer();
}

TEST_F(MixerThreadTest, TickFallsDueAtTheFirstFrameAt125Bpm) {
    ASSERT_TRUE(audioInitOffline(44100));
    recordPieces();
    FakeModule fake(tickA);
    fake.start(125);
    audioRenderBlock(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"tick A", "mix 882", "tick A", "mix 2"}));
    EXPECT_EQ(fake.module->samplesToNextTick, 880);
    events.clear();
    audioRenderBlock(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"mix 880", "tick A", "mix 4"}));
    EXPECT_EQ(fake.module->samplesToNextTick, 878);
}

TEST_F(MixerThreadTest, TempoChangeGovernsTheTickItStarts) {
    ASSERT_TRUE(audioInitOffline(44100));
    recordPieces();
    FakeModule fake(tickFaster);
    fake.start(125);
    audioRenderBlock(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"tick", "mix 441", "tick", "mix 441", "tick", "mix 2"}));
}

TEST_F(MixerThreadTest, MeaninglessTickLengthStillMovesOn) {
    ASSERT_TRUE(audioInitOffline(44100));
    recordPieces();
    FakeModule fake(tickA);
    fake.start(125);
    audioLockMixer();
    fake.module->samplesPerTick = 0; // as if set behind moduleSetBpm's back
    fake.module->samplesToNextTick = -5;
    audioUnlockMixer();
    audioRenderBlock(nullptr);
    ASSERT_EQ(events.size(), 2u * 884);
    EXPECT_EQ(events[0], "tick A");
    EXPECT_EQ(events[1], "mix 1");
}

TEST_F(MixerThreadTest, SeveralModulesShareOneMixOfTheVoices) {
    ASSERT_TRUE(audioInitOffline(44100));
    recordPieces();
    FakeModule a(tickA);
    FakeModule b(tickB);
    FakeModule stopped(tickB);
    a.start(125); // 882 frames a tick
    b.start(250); // 441
    stopped.start(125);
    stopped.stop();
    TestSample sample(std::vector<int16_t>(64, 1000), LoopForward, 0, 64);
    audioLockMixer();
    Voice& voice = audioOutput.voicePool[0];
    voiceStart(0, &sample.sample);
    voiceSetFrequency(voice, 44100);
    voiceSetPan(voice, 0);
    voiceSetVolume(voice, 255);
    settleGains(voice, 255, 0);
    audioUnlockMixer();
    std::vector<int16_t> out(2 * 884);
    audioRenderBlock(out.data());
    EXPECT_EQ(events, (std::vector<std::string>{"tick A", "tick B", "mix 441", "tick B", "mix 441", "tick A",
                                                "tick B", "mix 2"}));
    for (int k = 0; k < 884; ++k) {
        ASSERT_EQ(out[2 * k], 1000) << k; // once, not once per module
        ASSERT_EQ(out[2 * k + 1], 0) << k;
    }
    EXPECT_EQ(a.module->samplesToNextTick, 880);
    EXPECT_EQ(b.module->samplesToNextTick, 439);
}

// A little song for the stand-in module: notes on four voices with every kind of loop, moving volumes,
// pans and pitches, a tempo change.
TestSample* songSamples[3];
int songTicks = 0;

void songTick(Module* module) {
    const int t = songTicks++;
    Voice* pool = audioOutput.voicePool;
    for (int v = 0; v < 4; ++v) {
        Voice& voice = pool[v];
        if ((t + v) % 5 == 0) {
            voice.startOffset = static_cast<uint32_t>(t * 3 % 50);
            voiceStart(v, &songSamples[(t + v) % 3]->sample);
        }
        voiceSetVolume(voice, (t * 37 + v * 50) % 256);
        voiceSetPan(voice, (t * 53 + v * 64) % 256);
        voiceSetFrequency(voice, 8000 + (t * 997 + v * 3001) % 60000);
        if ((t + v) % 11 == 10) voiceStop(v);
    }
    if (t == 7) moduleSetBpm(module, 177);
}

class SongTest : public MixerThreadTest {
  protected:
    TestSample once{ramp(3000, -20000, 13)};
    TestSample looped{ramp(200, 15000, -150), LoopForward, 40, 150};
    TestSample pingPong{ramp(120, -9000, 151), LoopPingPong, 10, 90};
    void SetUp() override {
        MixerThreadTest::SetUp();
        songSamples[0] = &once;
        songSamples[1] = &looped;
        songSamples[2] = &pingPong;
        songTicks = 0;
    }
};

TEST_F(SongTest, ThreadAndOfflineRenderingGiveTheSameBits) {
    const int blocks = 18;
    std::vector<int16_t> offline;
    {
        ASSERT_TRUE(audioInitOffline(44100));
        FakeModule song(songTick);
        song.start(125);
        std::vector<int16_t> block(2 * 884);
        for (int i = 0; i < blocks; ++i) {
            audioRenderBlock(block.data());
            offline.insert(offline.end(), block.begin(), block.end());
        }
        song.stop();
        audioClose();
    }
    int nonZero = 0;
    uint32_t hash = 2166136261u; // FNV-1a over the little-endian bytes
    for (int16_t value : offline) {
        nonZero += value != 0;
        for (int shift : {0, 8}) hash = (hash ^ ((static_cast<uint16_t>(value) >> shift) & 0xFF)) * 16777619u;
    }
    EXPECT_GT(nonZero, static_cast<int>(offline.size() / 2));
    // The same bytes in every build, optimised or not, on every platform.
    EXPECT_EQ(hash, 987138209u);

    songTicks = 0;
    audioOutput.nextBlock = 0;
    ASSERT_TRUE(audioInit(44100));
    FakeModule song(songTick);
    song.start(125);
    for (int i = 0; i < blocks; ++i) virtualAudioAdvance(884);
    ASSERT_EQ(audioOutput.nextBlock, blocks);
    const std::vector<int16_t> ring(audioOutput.outputBuffer, audioOutput.outputBuffer + offline.size());
    EXPECT_EQ(ring, offline);
    song.stop();
}

TEST_F(SongTest, RealClockKeepsTheRingFed) {
    virtualAudioSetDriven(false);
    ASSERT_TRUE(audioInit(44100));
    FakeModule song(songTick);
    song.start(125);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (virtualAudioPlayedFrames() < 3 * 884 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    audioLockMixer();
    const int32_t next = audioOutput.nextBlock;
    const int ticks = songTicks;
    audioUnlockMixer();
    EXPECT_GE(next, 2);
    EXPECT_GT(ticks, 0);
    song.stop();
}

bool positionUnknown(uint64_t*) {
    return false;
}

TEST_F(MixerThreadTest, DeviceWithoutAPositionGetsNoBlock) {
    static AudioDevice mute = *virtualAudioDevice();
    mute.position = positionUnknown;
    audioSetDevice(&mute);
    virtualAudioSetDriven(false);
    audioOutput.nextBlock = 3;
    ASSERT_TRUE(audioInit(44100));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(audioOutput.nextBlock, 3);
}

} // namespace
