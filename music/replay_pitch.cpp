// Periods in the two scales, the frequency they give, tone portamento, vibrato and auto-vibrato.

#include <cmath>
#include <cstdint>

#include "music/replay.h"
#include "music/replay_internal.h"

namespace {

// Periods are kept well inside 32 bits, so that adding any per-tick delta to them cannot overflow.
constexpr int64_t PeriodLimit = int64_t(1) << 30;

// Magnitude of the sine half-wave over the 32 positions of each half-cycle.
constexpr uint8_t VibratoSine[32] = {0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212,
                                     224, 235, 244, 250, 253, 255, 253, 250, 244, 235, 224,
                                     212, 197, 180, 161, 141, 120, 97,  74,  49,  24};

int32_t amigaBasePeriod(int32_t note) {
    const double twelfth = static_cast<double>(1.0f / 12.0f);
    return static_cast<int32_t>(13.375 * std::pow(2.0, static_cast<double>(132 - note) * twelfth));
}

} // namespace

int32_t amigaPeriod(int32_t note, int32_t finetune) {
    const int32_t p0 = amigaBasePeriod(note);
    if (finetune >= 0 || note == 0) return p0 + ((p0 - amigaBasePeriod(note + 1)) * finetune) / -128;
    return p0 + ((p0 - amigaBasePeriod(note - 1)) * -finetune) / -128;
}

int32_t notePeriod(const Module* module, uint8_t realNote, int32_t finetune) {
    if (module->flags & 1) return 7680 - 64 * realNote - finetune / 2;
    return amigaPeriod(realNote, finetune);
}

int32_t periodAdd(int32_t period, int64_t amount) {
    int64_t sum = static_cast<int64_t>(period) + amount;
    if (sum > PeriodLimit) sum = PeriodLimit;
    if (sum < -PeriodLimit) sum = -PeriodLimit;
    return static_cast<int32_t>(sum);
}

int32_t channelFrequency(const Module* module, const Channel* channel) {
    if (!module || !channel) return 0;
    const int32_t period = channel->period + channel->periodDelta;
    if (period == 0) return 0;
    if (!(module->flags & 1)) return 14317056 / period;
    const double c = static_cast<double>(1.0f / 768.0f);
    const int32_t exponent = 4608 - channel->period + channel->periodDelta;
    const double hz = 8363.0 * std::pow(2.0, static_cast<double>(exponent) * c);
    // Extreme fine portamentos can take the pitch far outside what 32 bits hold.
    if (!(hz < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(hz);
}

void tonePortamento(Channel* channel) {
    const int32_t step = 4 * channel->portaSpeed;
    if (channel->period < channel->portaTarget) {
        channel->period += step;
        if (channel->period > channel->portaTarget) channel->period = channel->portaTarget;
    } else if (channel->period > channel->portaTarget) {
        channel->period -= step;
        if (channel->period < channel->portaTarget) channel->period = channel->portaTarget;
    }
    channel->flags |= UpdateFrequency;
}

void vibratoDelta(Channel* channel) {
    const int32_t position = channel->vibratoPosition;
    int32_t value;
    switch (channel->waveControl & 3) {
    case 0:
        value = VibratoSine[position & 31];
        break;
    case 1:
        value = position >= 0 ? (8 * position) & 255 : 255 - ((8 * position) & 255);
        break;
    default:
        value = 255;
        break;
    }
    int32_t delta = ((value * channel->vibratoDepth) >> 5) & ~3;
    if (position >= 0) delta = -delta;
    channel->periodDelta = delta;
    channel->flags |= UpdateFrequency;
}

void vibratoAdvance(Channel* channel) {
    int32_t position = channel->vibratoPosition + channel->vibratoSpeed;
    while (position > 31) position -= 64;
    channel->vibratoPosition = static_cast<int8_t>(position);
}

void autoVibrato(Channel* channel, const Instrument* instrument) {
    const int32_t p = channel->autoVibratoPosition;
    int32_t v;
    // The format defines types 0 to 3; larger values take the waveform of their two low bits.
    switch (instrument->vibratoType & 3) {
    case 0:
        v = static_cast<int32_t>(64.0 * std::sin(2.0 * p * 0.01227184375));
        break;
    case 1:
        v = p < 128 ? 64 : -64;
        break;
    case 2:
        v = (128 - ((p + 128) & 255)) >> 1;
        break;
    default:
        v = (128 - ((384 - p) & 255)) >> 1;
        break;
    }
    v *= instrument->vibratoDepth;
    if (instrument->vibratoSweep != 0) v = (channel->autoVibratoSweep * v) / instrument->vibratoSweep;
    channel->periodDelta += v >> 6;
    if (channel->autoVibratoSweep < instrument->vibratoSweep) channel->autoVibratoSweep += 1;
    channel->autoVibratoPosition += instrument->vibratoRate;
    if (channel->autoVibratoPosition > 255) channel->autoVibratoPosition -= 256;
    channel->flags |= UpdateFrequency;
}
