// Pitch, vibrato, auto-vibrato and envelopes, driven directly on channel records.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "music/replay.h"
#include "music/replay_internal.h"

namespace {

Module linearModule() {
    Module module{};
    module.flags = 1;
    return module;
}

TEST(ReplayPitch, LinearScaleNotesAndFrequencies) {
    Module module = linearModule();
    EXPECT_EQ(notePeriod(&module, 48, 0), 4608);
    EXPECT_EQ(notePeriod(&module, 48, 127), 4545);
    EXPECT_EQ(notePeriod(&module, 48, -127), 4671);
    Channel channel{};
    channel.period = 4608;
    EXPECT_EQ(channelFrequency(&module, &channel), 8363);
    channel.period = notePeriod(&module, 60, 0);
    EXPECT_EQ(channelFrequency(&module, &channel), 16726);
    // A positive delta raises the pitch in the linear scale: one octave up.
    channel.period = 4608;
    channel.periodDelta = 768;
    EXPECT_EQ(channelFrequency(&module, &channel), 16726);
}

TEST(ReplayPitch, AmigaScale) {
    Module module{};
    EXPECT_EQ(amigaPeriod(48, 0), 1712);
    EXPECT_EQ(amigaPeriod(132, 0), 13);
    EXPECT_EQ(notePeriod(&module, 48, 0), 1712);
    Channel channel{};
    channel.period = 1712;
    EXPECT_EQ(channelFrequency(&module, &channel), 8362);
    channel.period = 0;
    EXPECT_EQ(channelFrequency(&module, &channel), 0);
    // Positive finetune moves towards the next higher note, negative towards the next lower one.
    const int32_t p48 = amigaPeriod(48, 0), p47 = amigaPeriod(47, 0), p49 = amigaPeriod(49, 0);
    EXPECT_EQ(amigaPeriod(48, 64), p48 + ((p48 - p49) * 64) / -128);
    EXPECT_EQ(amigaPeriod(48, -64), p48 + ((p48 - p47) * 64) / -128);
    EXPECT_GT(amigaPeriod(48, -64), p48);
    // On note 0 a negative finetune still lengthens the period, by a share of P(0) - P(1).
    const int32_t p0 = amigaPeriod(0, 0), p1 = amigaPeriod(1, 0);
    EXPECT_EQ(amigaPeriod(0, -64), p0 + ((p0 - p1) * -64) / -128);
    EXPECT_GT(amigaPeriod(0, -64), p0);
}

TEST(ReplayPitch, FrequenciesOutsideThirtyTwoBitsAreClamped) {
    Module module = linearModule();
    Channel channel{};
    channel.period = periodAdd(0, -(int64_t(1) << 40));
    EXPECT_EQ(channelFrequency(&module, &channel), INT32_MAX);
    channel.period = periodAdd(0, int64_t(1) << 40);
    EXPECT_EQ(channelFrequency(&module, &channel), 0);
    EXPECT_EQ(periodAdd(INT32_MAX, INT32_MAX), int32_t(1) << 30);
}

TEST(ReplayPitch, TonePortamentoStopsAtTarget) {
    Channel channel{};
    channel.period = 1000;
    channel.portaTarget = 1010;
    channel.portaSpeed = 2;
    tonePortamento(&channel);
    EXPECT_EQ(channel.period, 1008);
    tonePortamento(&channel);
    EXPECT_EQ(channel.period, 1010);
    channel.flags = 0;
    tonePortamento(&channel);
    EXPECT_EQ(channel.period, 1010);
    EXPECT_EQ(channel.flags, UpdateFrequency);
    channel.portaSpeed = 0;
    channel.portaTarget = 900;
    tonePortamento(&channel);
    EXPECT_EQ(channel.period, 1010);
}

struct VibratoCase {
    uint8_t waveform;
    uint8_t depth;
    int8_t position;
    int32_t delta;
};

TEST(ReplayPitch, VibratoWaveforms) {
    const VibratoCase cases[] = {
        {1, 8, 0, 0},    {1, 8, 4, -8},   {1, 8, 16, -32},   {1, 8, 31, -60},   {1, 8, -32, 60},
        {1, 8, -16, 28}, {1, 8, -1, 0},   {2, 15, 5, -116},  {2, 15, -5, 116},  {3, 8, 0, -60},
        {3, 8, -1, 60},  {0, 15, 0, 0},   {0, 15, 16, -116}, {0, 15, -16, 116}, {0, 8, 8, -44},
        {0, 8, -24, 44}, {0, 15, -32, 0},
    };
    for (const VibratoCase& c : cases) {
        Channel channel{};
        channel.waveControl = c.waveform;
        channel.vibratoDepth = c.depth;
        channel.vibratoPosition = c.position;
        channel.periodDelta = 1234;
        vibratoDelta(&channel);
        EXPECT_EQ(channel.periodDelta, c.delta)
            << "waveform " << int(c.waveform) << " position " << int(c.position);
        EXPECT_EQ(channel.flags, UpdateFrequency);
        EXPECT_EQ(channel.vibratoPosition, c.position) << "vibratoDelta leaves the phase alone";
    }
    Channel channel{};
    channel.vibratoPosition = 28;
    channel.vibratoSpeed = 6;
    vibratoAdvance(&channel);
    EXPECT_EQ(channel.vibratoPosition, -30);
}

struct AutoVibratoCase {
    uint8_t type;
    int32_t position;
    int32_t value;
};

TEST(ReplayPitch, AutoVibratoWaveforms) {
    const AutoVibratoCase cases[] = {
        {0, 0, 0},
        {0, 64, 63},
        {0, 128, 0},
        {0, 192, -63},
        {1, 0, 64},
        {1, 127, 64},
        {1, 128, -64},
        {2, 0, 0},
        {2, 1, -1},
        {2, 127, -64},
        {2, 128, 64},
        {2, 255, 0},
        {3, 0, 0},
        {3, 2, 1},
        {3, 127, 63},
        {3, 128, 64},
        {3, 129, -64},
        {3, 255, -1},
        // Types beyond the four the format defines take the waveform of their two low bits.
        {4, 64, 63},
        {5, 128, -64},
        {255, 129, -64},
    };
    for (const AutoVibratoCase& c : cases) {
        Instrument instrument{};
        instrument.vibratoType = c.type;
        instrument.vibratoDepth = 64; // v x 64 >> 6 is v itself
        instrument.vibratoRate = 3;
        Channel channel{};
        channel.autoVibratoPosition = c.position;
        autoVibrato(&channel, &instrument);
        EXPECT_EQ(channel.periodDelta, c.value) << "type " << int(c.type) << " position " << c.position;
        EXPECT_EQ(channel.autoVibratoPosition, (c.position + 3) % 256);
    }
}

TEST(ReplayPitch, AutoVibratoSweepGrowsLinearly) {
    Instrument instrument{};
    instrument.vibratoType = 1; // square: 64
    instrument.vibratoDepth = 8;
    instrument.vibratoSweep = 4;
    Channel channel{};
    std::vector<int32_t> deltas;
    for (int i = 0; i < 6; ++i) {
        channel.periodDelta = 0;
        autoVibrato(&channel, &instrument);
        deltas.push_back(channel.periodDelta);
    }
    EXPECT_EQ(deltas, (std::vector<int32_t>{0, 2, 4, 6, 8, 8}));
    EXPECT_EQ(channel.autoVibratoSweep, 4);
}

// An instrument whose volume envelope has the given points.
Instrument envelopeInstrument(std::vector<EnvelopePoint> points, uint8_t type) {
    Instrument instrument{};
    for (size_t i = 0; i < points.size(); ++i) instrument.volumePoints[i] = points[i];
    instrument.volumePointCount = static_cast<uint8_t>(points.size());
    instrument.volumeType = type;
    return instrument;
}

std::vector<int32_t> envelopeLevels(const Instrument& instrument, Channel& channel, int ticks) {
    std::vector<int32_t> levels;
    for (int i = 0; i < ticks; ++i) {
        channelStepEnvelopes(&channel, &instrument);
        levels.push_back(channel.volumeEnvelope.level);
    }
    return levels;
}

Channel freshChannel() {
    Channel channel{};
    Sample sample{};
    instrumentReset(&channel, &sample);
    return channel;
}

TEST(ReplayEnvelope, LinearSegmentReachesPointOnItsTick) {
    Instrument instrument = envelopeInstrument({{0, 64}, {10, 0}}, EnvelopeOn);
    Channel channel = freshChannel();
    const std::vector<int32_t> levels = envelopeLevels(instrument, channel, 12);
    EXPECT_EQ(levels, (std::vector<int32_t>{64, 57, 51, 44, 38, 32, 25, 19, 12, 6, 0, 0}));
    EXPECT_TRUE(channel.volumeEnvelope.finished);
}

TEST(ReplayEnvelope, TwoPointsOnOneTickStepAndGoOn) {
    // A drop drawn as two points on the same tick: the envelope must not wait on the second point for a
    // tick count it has already passed, or it would hold 32 for ever and never finish.
    Instrument instrument = envelopeInstrument({{0, 64}, {2, 32}, {2, 0}, {4, 0}}, EnvelopeOn);
    Channel channel = freshChannel();
    EXPECT_EQ(envelopeLevels(instrument, channel, 6), (std::vector<int32_t>{64, 48, 32, 0, 0, 0}));
    EXPECT_TRUE(channel.volumeEnvelope.finished);
}

TEST(ReplayEnvelope, SustainHoldsUntilKeyOff) {
    Instrument instrument = envelopeInstrument({{0, 64}, {10, 0}}, EnvelopeOn | EnvelopeSustain);
    Channel channel = freshChannel();
    EXPECT_EQ(envelopeLevels(instrument, channel, 5), (std::vector<int32_t>(5, 64)));
    channel.keyOff = 1;
    EXPECT_EQ(envelopeLevels(instrument, channel, 3), (std::vector<int32_t>{64, 57, 51}));
}

TEST(ReplayEnvelope, LoopAtLastPointNeverFinishes) {
    Instrument instrument = envelopeInstrument({{0, 0}, {2, 32}, {4, 64}}, EnvelopeOn | EnvelopeLoop);
    instrument.volumeLoopStart = 1;
    instrument.volumeLoopEnd = 2;
    Channel channel = freshChannel();
    EXPECT_EQ(envelopeLevels(instrument, channel, 8), (std::vector<int32_t>{0, 16, 32, 48, 32, 48, 32, 48}));
    channel.keyOff = 1;
    envelopeLevels(instrument, channel, 20);
    EXPECT_FALSE(channel.volumeEnvelope.finished);
}

TEST(ReplayEnvelope, SetPosition) {
    Instrument instrument = envelopeInstrument({{0, 64}, {10, 0}, {20, 32}}, EnvelopeOn);
    Channel channel = freshChannel();
    envelopeSetPosition(&channel, &instrument, 5);
    EXPECT_EQ(channel.volumeEnvelope.level, 32);
    EXPECT_FALSE(channel.volumeEnvelope.finished);
    EXPECT_EQ(envelopeLevels(instrument, channel, 2), (std::vector<int32_t>{25, 19}));
    envelopeSetPosition(&channel, &instrument, 15);
    EXPECT_EQ(channel.volumeEnvelope.level, 15);
    // Beyond the last point: the last value, finished.
    envelopeSetPosition(&channel, &instrument, 200);
    EXPECT_EQ(channel.volumeEnvelope.level, 32);
    EXPECT_TRUE(channel.volumeEnvelope.finished);
    // An envelope that is off is not placed.
    instrument.volumeType = 0;
    Channel other = freshChannel();
    envelopeSetPosition(&other, &instrument, 5);
    EXPECT_EQ(other.volumeEnvelope.level, 64);
}

TEST(ReplayEnvelope, DamagedEnvelopesStayInRange) {
    // First point late: its value is held until then. Values above 64 count as 64.
    Instrument late = envelopeInstrument({{3, 40}, {5, 1000}}, EnvelopeOn);
    Channel channel = freshChannel();
    EXPECT_EQ(envelopeLevels(late, channel, 6), (std::vector<int32_t>{40, 40, 40, 40, 52, 64}));
    // Points out of order, a loop and sustain beyond the points, a point count beyond the record.
    Instrument broken = envelopeInstrument({{0, 10}, {50, 20}, {5, 64}, {7, 0}}, EnvelopeOn | EnvelopeLoop);
    broken.volumePointCount = 200;
    broken.volumeLoopEnd = 1;
    broken.volumeLoopStart = 150;
    channel = freshChannel();
    for (int32_t level : envelopeLevels(broken, channel, 300)) {
        EXPECT_GE(level, 0);
        EXPECT_LE(level, 64);
    }
}

TEST(ReplayChannel, FadeOutOnlyAfterKeyOff) {
    Instrument instrument{};
    instrument.fadeout = 30000;
    Channel channel = freshChannel();
    channelFadeOut(&channel, &instrument);
    EXPECT_EQ(channel.fadeVolume, 65536);
    channel.keyOff = 1;
    channelFadeOut(&channel, &instrument);
    channelFadeOut(&channel, &instrument);
    EXPECT_EQ(channel.fadeVolume, 5536);
    channelFadeOut(&channel, &instrument);
    EXPECT_EQ(channel.fadeVolume, 0);
    instrument.fadeout = 0;
    Channel held = freshChannel();
    held.keyOff = 1;
    for (int i = 0; i < 100; ++i) channelFadeOut(&held, &instrument);
    EXPECT_EQ(held.fadeVolume, 65536);
}

struct VolumeColumnCase {
    uint8_t byte;
    int32_t volume, pan;         // after one row tick, from volume 40 and pan 128
    int32_t tickVolume, tickPan; // after one tick more
};

TEST(ReplayChannel, VolumeColumn) {
    const VolumeColumnCase cases[] = {
        {0x00, 40, 128, 40, 128}, {0x10, 0, 128, 0, 128},   {0x50, 64, 128, 64, 128},
        {0x55, 40, 128, 40, 128}, {0x63, 37, 128, 34, 128}, {0x6F, 25, 128, 10, 128},
        {0x7F, 55, 128, 64, 128}, {0x83, 37, 128, 37, 128}, {0x9F, 55, 128, 55, 128},
        {0xC4, 40, 64, 40, 64},   {0xDF, 40, 113, 40, 98},  {0xEF, 40, 143, 40, 158},
    };
    for (const VolumeColumnCase& c : cases) {
        Channel channel{};
        channel.volume = 40;
        channel.pan = 128;
        applyVolumeColumn(&channel, c.byte);
        EXPECT_EQ(channel.volume, c.volume) << std::hex << int(c.byte);
        EXPECT_EQ(channel.pan, c.pan) << std::hex << int(c.byte);
        applyVolumeColumnTick(&channel, c.byte);
        EXPECT_EQ(channel.volume, c.tickVolume) << std::hex << int(c.byte);
        EXPECT_EQ(channel.pan, c.tickPan) << std::hex << int(c.byte);
    }
    Channel channel{};
    channel.pan = 10;
    for (int i = 0; i < 3; ++i) applyVolumeColumnTick(&channel, 0xDF);
    EXPECT_EQ(channel.pan, 0);
    channel.pan = 250;
    applyVolumeColumnTick(&channel, 0xEF);
    EXPECT_EQ(channel.pan, 255);
    // Fx: speed 16 x, target the note's period, no restart.
    channel.notePeriod = 3000;
    channel.flags = StartVoice;
    applyVolumeColumn(&channel, 0xF3);
    EXPECT_EQ(channel.portaSpeed, 48);
    EXPECT_EQ(channel.portaTarget, 3000);
    EXPECT_EQ(channel.flags & StartVoice, 0);
    applyVolumeColumn(&channel, 0xF0);
    EXPECT_EQ(channel.portaSpeed, 48);
}

TEST(ReplayChannel, TremorCycle) {
    Channel channel{};
    channel.volume = 50;
    channel.tremorOn = 2;
    channel.tremorOff = 3;
    std::vector<int32_t> deltas;
    for (int i = 0; i < 10; ++i) {
        channel.volumeDelta = 0;
        tremor(&channel);
        deltas.push_back(channel.volumeDelta);
    }
    EXPECT_EQ(deltas, (std::vector<int32_t>{0, 0, -50, -50, -50, 0, 0, -50, -50, -50}));
}

} // namespace
