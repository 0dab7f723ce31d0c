#include <gtest/gtest.h>

#include "audio/audio_output.h"
#include "audio/voice.h"
#include "tests/audio/audio_test_support.h"

namespace {

class VoiceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(audioInitOffline(44100)); }
    void TearDown() override { audioClose(); }
    Voice& voice(int i) { return audioOutput.voicePool[i]; }
};

TEST_F(VoiceTest, StartOffsetBeyondTheLoopEndStartsAtFrameZero) {
    TestSample looped(ramp(40), LoopForward, 10, 20); // loop end 30
    struct Case {
        uint32_t offset;
        uint32_t expected;
    } cases[] = {{0, 0}, {29, 29}, {30, 0}, {31, 0}, {0xFFFFFFFFu, 0}};
    for (const Case& c : cases) {
        Voice& v = voice(3);
        v.startOffset = c.offset;
        v.positionFrac = 123;
        v.direction = 2;
        EXPECT_EQ(voiceStart(3, &looped.sample), 3);
        EXPECT_EQ(v.positionInt, c.expected) << c.offset;
        EXPECT_EQ(v.positionFrac, 0u);
        EXPECT_EQ(v.startOffset, 0u);
        EXPECT_EQ(v.direction, 1);
        EXPECT_EQ(v.sample, &looped.sample);
    }
    voice(4).startOffset = 5;
    EXPECT_EQ(voiceStart(4, &emptySample), 4);
    EXPECT_EQ(voice(4).positionInt, 0u);
}

TEST_F(VoiceTest, StartWithoutSampleOrPoolChangesNothing) {
    Voice& v = voice(7);
    v.startOffset = 12;
    v.positionInt = 5;
    EXPECT_EQ(voiceStart(7, nullptr), -1);
    EXPECT_EQ(v.startOffset, 12u);
    EXPECT_EQ(v.positionInt, 5u);
    EXPECT_EQ(v.sample, nullptr);
    EXPECT_EQ(voiceStart(-1, &emptySample), -1);
    EXPECT_EQ(voiceStart(VoiceCount, &emptySample), -1);
    EXPECT_FALSE(voiceStop(VoiceCount));
    audioClose();
    EXPECT_EQ(voiceStart(0, &emptySample), -1);
    EXPECT_FALSE(voiceStop(0));
}

TEST_F(VoiceTest, StopSilencesButKeepsGainsAndOffset) {
    TestSample sample(ramp(10));
    Voice& v = voice(0);
    voiceSetVolume(v, 200);
    voiceStart(0, &sample.sample);
    v.positionInt = 4;
    v.positionFrac = 99;
    v.startOffset = 3;
    v.currentLeft = 77;
    EXPECT_TRUE(voiceStop(0));
    EXPECT_EQ(v.sample, nullptr);
    EXPECT_EQ(v.positionInt, 0u);
    EXPECT_EQ(v.positionFrac, 0u);
    EXPECT_EQ(v.startOffset, 3u);
    EXPECT_EQ(v.currentLeft, 77);
    EXPECT_EQ(v.volume, 200);
}

TEST_F(VoiceTest, FrequencyIsClampedAndTurnedIntoA3232Step) {
    struct Case {
        int32_t hz;
        uint32_t stepInt;
        uint32_t stepFrac;
    } cases[] = {
        {8363, 0, static_cast<uint32_t>((uint64_t{8363} << 32) / 44100)},
        {44100, 1, 0},
        {705600, 16, 0},
        {1000000, 16, 0},
        {100, 0, static_cast<uint32_t>((uint64_t{100} << 32) / 44100)},
        {50, 0, static_cast<uint32_t>((uint64_t{100} << 32) / 44100)},
        {-5, 0, static_cast<uint32_t>((uint64_t{100} << 32) / 44100)},
        {66150, 1, 0x80000000u},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(voiceSetFrequency(voice(1), c.hz));
        EXPECT_EQ(voice(1).stepInt, c.stepInt) << c.hz;
        EXPECT_EQ(voice(1).stepFrac, c.stepFrac) << c.hz;
    }
}

TEST_F(VoiceTest, GainsFollowVolumeAndPan) {
    struct Case {
        int32_t volume, pan;
        uint8_t left, right;
    } cases[] = {{255, 0, 255, 0},  {255, 128, 127, 128}, {255, 255, 0, 255},
                 {64, 128, 31, 32}, {0, 77, 0, 0},        {0, 255, 0, 0}};
    for (const Case& c : cases) {
        Voice& v = voice(2);
        voiceSetPan(v, c.pan);
        voiceSetVolume(v, c.volume);
        EXPECT_EQ(v.gainLeft, c.left) << c.volume << "/" << c.pan;
        EXPECT_EQ(v.gainRight, c.right) << c.volume << "/" << c.pan;
    }
    Voice& v = voice(5);
    voiceSetVolume(v, 200);
    voiceSetPan(v, 0);
    EXPECT_EQ(v.gainLeft, 200);
    EXPECT_EQ(v.gainRight, 0);
    voiceSetVolume(v, 100);
    EXPECT_EQ(v.gainLeft, 100);
    EXPECT_EQ(v.gainRight, 0);
    EXPECT_EQ(v.pan, 0);
    // The setters never touch the ramp: the mixer takes the new gains from there.
    EXPECT_EQ(v.currentLeft, 0);
    EXPECT_EQ(v.rampFramesLeft, 0u);
}

TEST_F(VoiceTest, GainsOutside8BitsSaturate) {
    Voice& v = voice(6);
    voiceSetPan(v, 0);
    voiceSetVolume(v, 512);
    EXPECT_EQ(v.gainLeft, 255);
    EXPECT_EQ(v.gainRight, 0);
    voiceSetPan(v, -20);
    EXPECT_EQ(v.gainLeft, 255);
    EXPECT_EQ(v.gainRight, 0);
    voiceSetVolume(v, -3);
    EXPECT_EQ(v.gainLeft, 0);
    EXPECT_EQ(v.gainRight, 0);
}

TEST_F(VoiceTest, RestartKeepsTheCurrentGains) {
    TestSample sample(ramp(10));
    Voice& v = voice(9);
    settleGains(v, 250, 240);
    voiceStart(9, &sample.sample);
    voiceSetVolume(v, 10);
    EXPECT_EQ(v.currentLeft, 250);
    EXPECT_EQ(v.currentRight, 240);
}

} // namespace
