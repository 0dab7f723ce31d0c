#include <gtest/gtest.h>

#include "audio/audio_output.h"
#include "tests/audio/audio_test_support.h"

namespace {

class TempoTest : public ::testing::Test {
  protected:
    FakeModule fake;
    int32_t savedRate = audioOutput.mixingRate;
    void SetUp() override { audioOutput.mixingRate = 44100; }
    void TearDown() override { audioOutput.mixingRate = savedRate; }
    int32_t framesPerTick(int32_t bpm) {
        moduleSetBpm(fake.module, bpm);
        EXPECT_EQ(fake.module->bpm, bpm);
        return fake.module->samplesPerTick;
    }
};

TEST_F(TempoTest, TicksAreTwoAndAHalfSecondsOverTheTempo) {
    EXPECT_EQ(framesPerTick(125), 882);
    EXPECT_EQ(framesPerTick(126), 875);
    EXPECT_EQ(framesPerTick(32), 3445);
    EXPECT_EQ(framesPerTick(255), 432);
    for (int32_t bpm = 1; bpm <= 255; ++bpm)
        EXPECT_EQ(framesPerTick(bpm), static_cast<int32_t>(44100 * 2.5 / bpm)) << bpm;
}

TEST_F(TempoTest, MeaninglessTempoOrRateGivesOneFrame) {
    EXPECT_EQ(framesPerTick(0), 1);
    EXPECT_EQ(framesPerTick(-7), 1);
    EXPECT_EQ(framesPerTick(1000000000), 1);
    audioOutput.mixingRate = 0;
    EXPECT_EQ(framesPerTick(125), 1);
    audioOutput.mixingRate = 2000000000;
    EXPECT_EQ(framesPerTick(1), 2147483647);
    moduleSetBpm(nullptr, 125);
}

} // namespace
