#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "audio/audio_output.h"
#include "audio/mix_frames.h"
#include "audio/mixer.h"
#include "tests/audio/audio_test_support.h"

namespace {

const float GainStep = 1.0f / 255.0f;

float gainFloat(int gain) {
    return static_cast<float>(gain * static_cast<double>(GainStep));
}

// One frame as the mixer defines it: interpolation and products at double precision, one rounding per
// store.
float mixedValue(float destination, const int16_t* data, uint64_t position, float gain) {
    const uint32_t n = static_cast<uint32_t>(position >> 32);
    const double weight = std::floor(static_cast<uint32_t>(position) / 2.0) * std::ldexp(1.0, -31);
    const double v = data[n] + (static_cast<double>(data[n + 1]) - data[n]) * weight;
    return static_cast<float>(destination + v * static_cast<double>(gain));
}

class MixBlockTest : public ::testing::Test {
  protected:
    ListNode list{&list, &list};
    Voice voices[4]{};

    void SetUp() override {
        mixerSetRate(44100);
        for (Voice& v : voices) {
            listInsertBefore(&v, &list);
            v.direction = 1;
        }
    }
    std::vector<float> mix(int32_t frames) {
        std::vector<float> out(2 * static_cast<size_t>(frames), 0.0f);
        mixBlock(out.data(), &list, frames);
        return out;
    }
    // Voice 0 on sample at position, stepping by step, at fixed gains.
    Voice& play(TestSample& sample, uint64_t position, uint64_t step, uint8_t left = 255,
                uint8_t right = 255) {
        Voice& v = voices[0];
        v.sample = &sample.sample;
        setPosition(v, position);
        setStep(v, step);
        settleGains(v, left, right);
        return v;
    }
};

TEST_F(MixBlockTest, NothingHappensWithoutFramesOrSample) {
    TestSample sample(ramp(50));
    Voice& v = play(sample, 3 * FrameOne, FrameOne);
    voices[1].positionInt = 9; // no sample: never touched
    std::vector<float> out(8, 1.5f);
    mixBlock(out.data(), &list, 0);
    mixBlock(out.data(), &list, -4);
    EXPECT_EQ(out, std::vector<float>(8, 1.5f));
    EXPECT_EQ(positionOf(v), 3 * FrameOne);
    mix(10);
    EXPECT_EQ(voices[1].positionInt, 9u);
    EXPECT_EQ(voices[1].direction, 1);
}

TEST_F(MixBlockTest, UnitStepTakesEveryFrameAsItIsAndAddsToTheBlock) {
    TestSample sample(ramp(64, -3000, 97));
    play(sample, 0, FrameOne);
    std::vector<float> out(2 * 41, 0.25f);
    mixBlock(out.data(), &list, 41);
    for (int k = 0; k < 41; ++k) {
        EXPECT_EQ(out[2 * k], static_cast<float>(0.25 + sample.sample.data[k])) << k;
        EXPECT_EQ(out[2 * k + 1], out[2 * k]);
    }
    EXPECT_EQ(positionOf(voices[0]), 41 * FrameOne);
}

TEST_F(MixBlockTest, FixedGainPairsMatchTheOneFrameDefinition) {
    std::vector<int16_t> values(300);
    for (int i = 0; i < 300; ++i) values[i] = static_cast<int16_t>((i * 7919) % 65536 - 32768);
    TestSample sample(values);
    const uint64_t start = 5 * FrameOne + 0x12345679u;
    const uint64_t step = FrameOne + 0x3456789Bu; // odd: the dropped lowest bit matters
    play(sample, start, step, 201, 37);
    std::vector<float> out(2 * 101);
    for (int k = 0; k < 101; ++k) out[2 * k] = out[2 * k + 1] = static_cast<float>(k * 0.37);
    std::vector<float> expected = out;
    mixBlock(out.data(), &list, 101);
    uint64_t position = start;
    for (int k = 0; k < 101; ++k) {
        expected[2 * k] = mixedValue(expected[2 * k], sample.sample.data, position, gainFloat(201));
        expected[2 * k + 1] = mixedValue(expected[2 * k + 1], sample.sample.data, position, gainFloat(37));
        position = (position & ~uint64_t{1}) + step;
    }
    EXPECT_EQ(out, expected);
    EXPECT_EQ(positionOf(voices[0]), position);
}

TEST_F(MixBlockTest, RampPairsMatchTheOneFrameDefinition) {
    std::vector<int16_t> values(400);
    for (int i = 0; i < 400; ++i) values[i] = static_cast<int16_t>((i * 7919) % 65536 - 32768);
    TestSample sample(values);
    const uint64_t start = 7 * FrameOne + 0x2345678Bu;
    const uint64_t step = FrameOne / 3 + 0x1357u; // odd
    const double perFrame = static_cast<double>(GainStep) * (1.0 / 128);
    for (int32_t frames : {1, 2, 3, 127}) {
        SCOPED_TRACE(frames);
        Voice& v = play(sample, start, step, 37, 250);
        v.gainLeft = 201;
        v.gainRight = 3;
        std::vector<float> out(2 * static_cast<size_t>(frames));
        for (int k = 0; k < frames; ++k) out[2 * k] = out[2 * k + 1] = static_cast<float>(k * 1.37 - 20.0);
        std::vector<float> expected = out;
        mixBlock(out.data(), &list, frames);
        float left = gainFloat(37), right = gainFloat(250);
        const float changeLeft = static_cast<float>(164 * perFrame);
        const float changeRight = static_cast<float>(-247 * perFrame);
        uint64_t position = start;
        for (int k = 0; k < frames; ++k) {
            expected[2 * k] = mixedValue(expected[2 * k], sample.sample.data, position, left);
            expected[2 * k + 1] = mixedValue(expected[2 * k + 1], sample.sample.data, position, right);
            left += changeLeft;
            right += changeRight;
            position = (position & ~uint64_t{1}) + step;
        }
        EXPECT_EQ(out, expected);
        EXPECT_EQ(positionOf(v), position);
        EXPECT_EQ(v.currentLeft, std::lrint(left * 255.0));
        EXPECT_EQ(v.currentRight, std::lrint(right * 255.0));
        EXPECT_EQ(v.rampFramesLeft, 128u - frames);
    }
}

TEST_F(MixBlockTest, RampFrom0To255MovesByOne128thPerFrame) {
    TestSample sample(std::vector<int16_t>(400, 16384));
    Voice& v = play(sample, 0, FrameOne, 0, 0);
    v.gainLeft = 255;
    const std::vector<float> out = mix(200);
    for (int k = 0; k < 128; ++k) {
        EXPECT_EQ(out[2 * k], 128.0f * k) << k;
        EXPECT_EQ(out[2 * k + 1], 0.0f);
    }
    for (int k = 128; k < 200; ++k) EXPECT_EQ(out[2 * k], 16384.0f) << k;
    EXPECT_EQ(v.currentLeft, 255);
    EXPECT_EQ(v.currentRight, 0);
    EXPECT_EQ(v.rampTargetLeft, 255);
    EXPECT_EQ(v.rampFramesLeft, 0u);
}

TEST_F(MixBlockTest, RampCutByTheCallEndHoldsThenRampsAfresh) {
    TestSample sample(std::vector<int16_t>(1000, 16384));
    Voice& v = play(sample, 0, FrameOne, 0, 0);
    v.gainLeft = 255;
    const std::vector<float> first = mix(40);
    EXPECT_EQ(first[2 * 39], 128.0f * 39);
    EXPECT_EQ(v.currentLeft, 80); // 40/128 of 255 is 79.69
    EXPECT_EQ(v.rampFramesLeft, 88u);

    const std::vector<float> second = mix(300);
    const float held = gainFloat(80);
    for (int k = 0; k < 88; ++k) ASSERT_EQ(second[2 * k], static_cast<float>(16384.0 * held)) << k;
    const float change = static_cast<float>(175 * static_cast<double>(GainStep) * (1.0 / 128));
    float gain = held;
    for (int k = 88; k < 88 + 128; ++k) {
        ASSERT_EQ(second[2 * k], static_cast<float>(16384.0 * gain)) << k;
        gain += change;
    }
    for (int k = 216; k < 300; ++k) ASSERT_EQ(second[2 * k], 16384.0f) << k;
    EXPECT_EQ(v.currentLeft, 255);
}

TEST_F(MixBlockTest, VolumeChangeDuringARampStartsAFullRampFromTheCurrentGains) {
    TestSample sample(std::vector<int16_t>(1000, 16384));
    Voice& v = play(sample, 0, FrameOne, 0, 0);
    v.pan = 0;
    voiceSetVolume(v, 255);
    mix(50);
    EXPECT_EQ(v.currentLeft, 100); // 50/128 of 255 is 99.6
    voiceSetVolume(v, 128);
    const std::vector<float> out = mix(20);
    EXPECT_EQ(v.rampTargetLeft, 128);
    EXPECT_EQ(v.rampFramesLeft, 108u);
    EXPECT_EQ(out[0], static_cast<float>(16384.0 * gainFloat(100)));
    const float change = static_cast<float>(28 * static_cast<double>(GainStep) * (1.0 / 128));
    EXPECT_EQ(out[2], static_cast<float>(16384.0 * static_cast<float>(gainFloat(100) + change)));
}

TEST_F(MixBlockTest, SampleWithoutLoopEndsAndFallsSilent) {
    TestSample sample(ramp(100, 1, 3));
    Voice& v = play(sample, 0, FrameOne);
    const std::vector<float> out = mix(150);
    for (int k = 0; k < 100; ++k) ASSERT_EQ(out[2 * k], sample.sample.data[k]) << k;
    for (int k = 100; k < 150; ++k) ASSERT_EQ(out[2 * k], 0.0f) << k;
    EXPECT_EQ(v.sample, nullptr);
    EXPECT_EQ(positionOf(v), 0u);
}

TEST_F(MixBlockTest, ForwardLoopWrapsFrom29Point5To10Point5) {
    TestSample sample(ramp(40, 0, 10), LoopForward, 10, 20);
    Voice& v = play(sample, 29 * FrameOne + FrameOne / 2, FrameOne);
    const std::vector<float> out = mix(1);
    EXPECT_EQ(out[0], static_cast<float>(290 + (100 - 290) * 0.5)); // frame 30 is the guard copy of 10
    EXPECT_EQ(positionOf(v), 10 * FrameOne + FrameOne / 2);
    EXPECT_EQ(v.direction, 1);
    const std::vector<float> more = mix(45); // goes round twice more
    EXPECT_EQ(more[0], 105.0f);
    EXPECT_EQ(positionOf(v), 15 * FrameOne + FrameOne / 2);
}

TEST_F(MixBlockTest, PingPongReflectsAtBothEnds) {
    TestSample sample(ramp(40, 0, 10), LoopPingPong, 10, 20);
    Voice& v = play(sample, 29 * FrameOne + FrameOne / 2, FrameOne);
    mix(1);
    EXPECT_EQ(positionOf(v), 29 * FrameOne + FrameOne / 2 - 1);
    EXPECT_EQ(v.direction, 2);

    setPosition(v, 10 * FrameOne + FrameOne / 2);
    mix(1);
    EXPECT_EQ(positionOf(v), 10 * FrameOne + FrameOne / 2 - 1);
    EXPECT_EQ(v.direction, 1);

    // A step of 3 frames over a loop of 1 reflects at the end, the start and the end again.
    TestSample tiny(ramp(20, 0, 10), LoopPingPong, 10, 1);
    Voice& w = play(tiny, 10 * FrameOne, 3 * FrameOne);
    mix(1);
    EXPECT_EQ(positionOf(w), 11 * FrameOne - 1);
    EXPECT_EQ(w.direction, 2);

    // A step of 100 frames (705600 Hz at a rate of 7056 Hz) over the same loop: from 110.25 the
    // reflections alternate a hundred times and land on 10.25, moving forward.
    Voice& x = play(tiny, 10 * FrameOne + FrameOne / 4, 100 * FrameOne);
    x.direction = 1;
    mix(1);
    EXPECT_EQ(positionOf(x), 10 * FrameOne + FrameOne / 4);
    EXPECT_EQ(x.direction, 1);
}

TEST_F(MixBlockTest, LongPingPongRunStaysInsideTheLoop) {
    TestSample sample(ramp(64, -3000, 90), LoopPingPong, 5, 37);
    Voice& v = play(sample, 0, 3 * FrameOne + 0x9E3779B9u);
    for (int call = 0; call < 200; ++call) {
        mix(97);
        ASSERT_NE(v.sample, nullptr);
        ASSERT_GE(v.positionInt, 4u);
        ASSERT_LE(v.positionInt, 42u);
    }
}

// Each case must keep every read inside the sample's data and slack (the address sanitizer watches the
// heap block) and end where the case says.
TEST_F(MixBlockTest, PositionsNeverLeaveTheSampleData) {
    struct Case {
        const char* name;
        uint8_t loopMode;
        uint32_t length, loopStart, loopLength;
        uint64_t position, step;
        int32_t direction, frames;
        uint64_t expectedPosition; // ~0: not checked
        int32_t expectedDirection;
    };
    const uint64_t unchecked = ~uint64_t{0};
    const Case cases[] = {
        // The 24.8 count leaves the position 200 units short of the loop end; with the loop at frame 0,
        // taking the loop length off would wrap below zero: it restarts at frame 0 and moves on 1 frame.
        {"short of a loop end at 0", LoopForward, 8, 0, 8, 4 * FrameOne - 200, FrameOne, 1, 5, FrameOne, 1},
        // The same with the loop at frame 2 lands at frame 1, just before the loop, as the count implies.
        {"short of a loop end at 2", LoopForward, 10, 2, 8, 6 * FrameOne - 200, FrameOne, 1, 4,
         FrameOne + FrameOne - 200, 1},
        // Backward onto a loop start of 0 exactly: the reflection would land a hair before frame 0.
        {"reflection at 0", LoopPingPong, 8, 0, 8, 4 * FrameOne, FrameOne, 2, 5, FrameOne, 1},
        {"step 0", LoopNone, 8, 0, 0, 3 * FrameOne + 5, 0, 1, 500, 3 * FrameOne + 4, 1},
        {"step below 2^-24", LoopForward, 8, 0, 8, 8 * FrameOne - 1000, 100, 1, 50, unchecked, 1},
        {"loop beyond the data", LoopForward, 10, 5, 20, 0, 3 * FrameOne, 1, 400, unchecked, 1},
        {"ping-pong beyond the data", LoopPingPong, 10, 5, 20, 0, 3 * FrameOne, 1, 400, unchecked, 0},
        {"position past the end", LoopForward, 10, 2, 6, 40 * FrameOne, FrameOne, 1, 3, 7 * FrameOne, 1},
        {"backward below the start", LoopPingPong, 10, 4, 4, 2 * FrameOne, FrameOne, 2, 3, unchecked, 0},
        {"loop start past the data", LoopForward, 10, 12, 4, 0, FrameOne, 1, 30, 0, 1},
        // Frames 0, 256, 512 and 768, then the end.
        {"step of 256 frames", LoopNone, 1000, 0, 0, 0, 256 * FrameOne, 1, 10, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestSample sample(ramp(static_cast<int>(c.length), 100, 100), c.loopMode, c.loopStart, c.loopLength);
        Voice& v = play(sample, c.position, c.step);
        v.direction = c.direction;
        const std::vector<float> out = mix(c.frames);
        for (float value : out) ASSERT_TRUE(std::isfinite(value));
        if (c.expectedPosition != unchecked) {
            EXPECT_EQ(positionOf(v), c.expectedPosition);
        }
        if (c.expectedDirection) {
            EXPECT_EQ(v.direction, c.expectedDirection);
        }
        if (v.sample) {
            EXPECT_LE(v.positionInt, c.length);
        }
    }
}

TEST_F(MixBlockTest, EmptySampleFallsSilentWithoutReading) {
    Voice& v = voices[2];
    v.sample = &emptySample;
    setStep(v, FrameOne);
    v.direction = 1;
    settleGains(v, 255, 255);
    EXPECT_EQ(mix(16), std::vector<float>(32, 0.0f));
    EXPECT_EQ(v.sample, nullptr);
}

TEST_F(MixBlockTest, EveryPlayingVoiceAddsItsShareInListOrder) {
    TestSample a(std::vector<int16_t>(8, 30000));
    TestSample b(std::vector<int16_t>(8, 1));
    TestSample c(std::vector<int16_t>(8, -30000));
    const TestSample* samples[] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        voices[i].sample = const_cast<Sample*>(&samples[i]->sample);
        setStep(voices[i], FrameOne);
        settleGains(voices[i], 3, 3);
    }
    std::vector<float> out(2, 1e7f);
    mixBlock(out.data(), &list, 1);
    float expected = 1e7f;
    for (int i = 0; i < 3; ++i)
        expected =
            static_cast<float>(expected + samples[i]->sample.data[0] * static_cast<double>(gainFloat(3)));
    EXPECT_EQ(out[0], expected);
}

// Voices are mixed in list order whatever their places in memory, each once, and a list head that lies
// right after the last voice is not taken for one. Near 2^24 each sum rounds, so the order shows.
TEST(MixBlockOrderTest, VoicesAreMixedInListOrderWhateverTheirPlaceInMemory) {
    mixerSetRate(44100);
    const int16_t values[5] = {1, 1, 2, 1, 2};
    const int orders[][5] = {
        {0, 1, 2, 3, 4}, {3, 4, 0, 1, 2}, {4, 3, 2, 1, 0}, {0, 2, 4, 1, 3}, {1, 2, 3, 4, 0}};
    std::vector<std::unique_ptr<TestSample>> samples;
    for (int16_t value : values)
        samples.push_back(std::make_unique<TestSample>(std::vector<int16_t>(8, value)));
    for (const auto& order : orders) {
        SCOPED_TRACE(testing::PrintToString(std::vector<int>(order, order + 5)));
        struct {
            Voice voices[5]{};
            ListNode head{&head, &head};
        } pool;
        float expected = 16777216.0f;
        for (int i : order) {
            Voice& v = pool.voices[i];
            listInsertBefore(&v, &pool.head);
            v.sample = &samples[i]->sample;
            v.direction = 1;
            setStep(v, FrameOne);
            settleGains(v, 255, 255);
            expected = static_cast<float>(expected + static_cast<double>(values[i]));
        }
        float out[2] = {16777216.0f, 16777216.0f};
        mixBlock(out, &pool.head, 1);
        EXPECT_EQ(out[0], expected);
        EXPECT_EQ(out[1], expected);
        for (const Voice& v : pool.voices) EXPECT_EQ(positionOf(v), FrameOne);
    }
}

TEST(MixAdvanceFramesTest, ManyFramesAtOnceEndWhereFrameByFrameEnds) {
    uint64_t seed = 0x9E3779B97F4A7C15u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    const uint64_t steps[] = {
        0, 1, 2, FrameOne, FrameOne + 1, 3 * FrameOne + 0x9E3779B9u, 0x000000AB12345677u};
    for (int trial = 0; trial < 400; ++trial) {
        const uint64_t step = trial < 7 ? steps[trial] : next() >> (next() % 40 + 24);
        const bool backward = trial % 2 == 1;
        const uint64_t advance = backward ? 0 - step : step;
        // Positions near 0 and near 2^64 too, where the sum wraps.
        const uint64_t start = trial % 3 == 0 ? next() % 5 : trial % 3 == 1 ? 0 - next() % 5 : next();
        uint64_t position = start;
        for (uint32_t count = 0; count <= 300; ++count) {
            ASSERT_EQ(mixAdvanceFrames(start, advance, count), position)
                << "start " << start << " advance " << advance << " count " << count;
            position = mixAdvance(position, advance);
        }
    }
}

// A voice at gains 0 adds nothing and skips the interpolation, yet must move exactly as an audible voice
// in the same gain state would: through loop wraps, reflections, sample ends and the end of a hold.
TEST(SilentVoiceTest, MovesAsAnAudibleVoiceAndAddsNothing) {
    mixerSetRate(44100);
    struct Solo {
        ListNode list{&list, &list};
        Voice voice{};
        Solo() { listInsertBefore(&voice, &list); }
    };
    struct Case {
        const char* name;
        uint8_t loopMode;
        uint32_t length, loopStart, loopLength;
        uint64_t position, step;
        int32_t direction;
        uint32_t holdFrames; // > 0: a cut ramp holds the gains reached for that many frames
        int32_t frames, calls;
    };
    const Case cases[] = {
        {"sample end", LoopNone, 1000, 0, 0, 17 * FrameOne + 12345, FrameOne + 0x4000001u, 1, 0, 300, 5},
        {"forward loop, odd step", LoopForward, 300, 40, 200, 5 * FrameOne + 999, 2 * FrameOne + 0x3456789Bu,
         1, 0, 441, 20},
        {"forward loop shorter than the step", LoopForward, 64, 10, 3, 0, 7 * FrameOne + 0x11111111u, 1, 0,
         97, 10},
        {"forward loop at frame 0", LoopForward, 8, 0, 8, 4 * FrameOne - 200, FrameOne, 1, 0, 5, 30},
        {"ping-pong", LoopPingPong, 400, 150, 100, 0, FrameOne / 2 + 0x1234567u, 1, 0, 884, 10},
        {"ping-pong running backward", LoopPingPong, 120, 10, 90, 60 * FrameOne + 77,
         3 * FrameOne + 0x9E3779B9u, 2, 0, 300, 20},
        {"ping-pong loop of one frame", LoopPingPong, 20, 10, 1, 10 * FrameOne, 3 * FrameOne + 5, 1, 0, 50,
         4},
        {"ping-pong at frame 0", LoopPingPong, 8, 0, 8, 4 * FrameOne, FrameOne, 2, 0, 5, 30},
        {"holding, then fixed", LoopForward, 500, 100, 350, 3 * FrameOne, FrameOne + 0x2468ACE1u, 1, 88, 60,
         6},
        {"hold across a wrap", LoopForward, 50, 10, 30, 35 * FrameOne, 5 * FrameOne + 3, 1, 100, 37, 5},
        {"step 0", LoopForward, 50, 10, 30, 35 * FrameOne + 5, 0, 1, 0, 100, 2},
        {"step below 2^-24", LoopForward, 8, 0, 8, 8 * FrameOne - 1000, 101, 1, 0, 50, 3},
        {"position past the end", LoopForward, 10, 2, 6, 40 * FrameOne + 7, FrameOne, 1, 0, 3, 4},
        {"loop beyond the data", LoopPingPong, 10, 5, 20, 0, 3 * FrameOne, 1, 0, 400, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestSample sample(ramp(static_cast<int>(c.length), -9000, 61), c.loopMode, c.loopStart, c.loopLength);
        Solo silent, audible;
        // Gains 0 for the silent voice, 5 for the audible one: the same gain state either way.
        for (Solo* solo : {&silent, &audible}) {
            Voice& v = solo->voice;
            v.sample = &sample.sample;
            setPosition(v, c.position);
            setStep(v, c.step);
            v.direction = c.direction;
            settleGains(v, solo == &silent ? 0 : 5, solo == &silent ? 0 : 5);
            v.rampFramesLeft = c.holdFrames;
        }
        std::vector<float> block(2 * static_cast<size_t>(c.frames));
        for (int call = 0; call < c.calls; ++call) {
            SCOPED_TRACE(call);
            for (size_t k = 0; k < block.size(); ++k) block[k] = static_cast<float>(k * 0.37 - 50.0);
            const std::vector<float> before = block;
            mixBlock(block.data(), &silent.list, c.frames);
            ASSERT_EQ(block, before);
            mixBlock(block.data(), &audible.list, c.frames);
            const Voice& s = silent.voice;
            const Voice& a = audible.voice;
            ASSERT_EQ(positionOf(s), positionOf(a));
            ASSERT_EQ(s.direction, a.direction);
            ASSERT_EQ(s.sample, a.sample);
            ASSERT_EQ(s.rampFramesLeft, a.rampFramesLeft);
            ASSERT_EQ(s.currentLeft, 0);
            ASSERT_EQ(s.currentRight, 0);
        }
    }
}

TEST(ClipBlockTest, RoundsToNearestEvenAndClamps) {
    const float in[] = {2.5f,     1.5f, -0.5f, 40000.0f, -40000.0f, 0.49999997f, -1.5f, 32766.5f, -32768.4f,
                        32767.0f, 3.5f, -2.5f, 1e30f,    -1e30f,    32767.6f,    0.0f,  7.0f,     -7.5f};
    const int16_t expected[] = {2,     2, 0,  32767, -32768, 0,     -2, 32766, -32768,
                                32767, 4, -2, 32767, -32768, 32767, 0,  7,     -8};
    constexpr int values = sizeof in / sizeof in[0];
    // Every length from 0 up, so that each value passes through the vector path and the scalar tail.
    for (int frames = 0; frames <= values / 2; ++frames) {
        std::vector<int16_t> out(values, 99);
        clipBlock(out.data(), in, frames);
        for (int i = 0; i < values; ++i)
            EXPECT_EQ(out[i], i < 2 * frames ? expected[i] : 99) << frames << ":" << i;
    }
    int16_t untouched[2] = {5, 5};
    clipBlock(untouched, nullptr, 1);
    clipBlock(nullptr, in, 1);
    clipBlock(untouched, in, -1);
    EXPECT_EQ(untouched[0], 5);
}

} // namespace
