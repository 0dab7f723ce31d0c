// Volume and panning envelopes in 16.16 fixed point, and the fade-out after a key-off.

#include <cstdint>

#include "music/replay_internal.h"

namespace {

// Damaged files can give point counts beyond the record and values far beyond 64; both are cut to what
// the envelope can hold, so that levels (and from them voice volumes and pans) stay in range.
constexpr int32_t MaxEnvelopeValue = 64;

int32_t usablePointCount(int32_t pointCount) {
    return pointCount < MaxEnvelopePoints ? pointCount : static_cast<int32_t>(MaxEnvelopePoints);
}

int32_t pointValue(const EnvelopePoint& point) {
    return point.value < MaxEnvelopeValue ? point.value : MaxEnvelopeValue;
}

int32_t segmentSlope(const EnvelopePoint& from, const EnvelopePoint& to) {
    const int32_t width = to.position - from.position;
    if (width == 0) return 0;
    return ((pointValue(to) - pointValue(from)) * 65536) / width;
}

} // namespace

void envelopeStep(Channel* channel, EnvelopeState* state, uint8_t type, int32_t pointCount,
                  const EnvelopePoint* points, int32_t loopEnd, int32_t loopStart, int32_t sustain,
                  uint8_t bit) {
    pointCount = usablePointCount(pointCount);
    int32_t i = state->nextPoint;
    if (i < 0 || i >= pointCount) {
        // Past the last point: hold.
    } else if (state->ticks < points[i].position) {
        if (i == 0) {
            // Before a first point that is not at tick 0: the envelope holds that point's value.
            state->level16 = pointValue(points[0]) * 65536;
        } else {
            state->level16 += state->slope;
        }
    } else {
        // Arrival at point i (or beyond it, when the points are not in increasing order).
        if ((type & EnvelopeLoop) && i == loopEnd && loopStart >= 0 && loopStart < pointCount) {
            state->nextPoint = loopStart;
            state->ticks = points[loopStart].position;
            i = loopStart;
        }
        if (i == pointCount - 1) {
            state->level = pointValue(points[i]);
            state->finished = 1;
            channel->flags |= bit;
            return;
        }
        if ((type & EnvelopeSustain) && i == sustain && !channel->keyOff) {
            state->level = pointValue(points[i]);
            channel->flags |= bit;
            return;
        }
        state->slope = segmentSlope(points[i], points[i + 1]);
        state->level16 = pointValue(points[i]) * 65536;
        state->nextPoint = i + 1;
    }
    state->level = state->level16 >> 16;
    state->ticks += 1;
    channel->flags |= bit;
}

void envelopeSetPosition(Channel* channel, const Instrument* instrument, int32_t position) {
    if (!(instrument->volumeType & EnvelopeOn)) return;
    const int32_t pointCount = usablePointCount(instrument->volumePointCount);
    if (pointCount < 1) return;
    const EnvelopePoint* points = instrument->volumePoints;
    EnvelopeState& state = channel->volumeEnvelope;
    int32_t i = 0;
    if (pointCount > 1 && position > points[1].position) {
        i = 1;
        while (i < pointCount - 1 && position > points[i + 1].position) i += 1;
    }
    state.nextPoint = i;
    if (i >= pointCount - 1) {
        state.level = pointValue(points[pointCount - 1]);
        state.finished = 1;
        return;
    }
    state.finished = 0;
    state.ticks = position;
    state.slope = segmentSlope(points[i], points[i + 1]);
    // Points out of order can put the position far before the segment; keep the level inside 0..64.
    int64_t level16 =
        int64_t(pointValue(points[i])) * 65536 + int64_t(position - points[i].position) * state.slope;
    if (level16 < 0) level16 = 0;
    if (level16 > MaxEnvelopeValue * 65536) level16 = MaxEnvelopeValue * 65536;
    state.level16 = static_cast<int32_t>(level16);
    state.nextPoint = i + 1;
    state.level = state.level16 >> 16;
}

void channelStepEnvelopes(Channel* channel, const Instrument* instrument) {
    if ((instrument->volumeType & EnvelopeOn) && !channel->volumeEnvelope.finished) {
        envelopeStep(channel, &channel->volumeEnvelope, instrument->volumeType, instrument->volumePointCount,
                     instrument->volumePoints, instrument->volumeLoopEnd, instrument->volumeLoopStart,
                     instrument->volumeSustain, UpdateVolume);
    }
    if ((instrument->panningType & EnvelopeOn) && !channel->panningEnvelope.finished) {
        envelopeStep(channel, &channel->panningEnvelope, instrument->panningType,
                     instrument->panningPointCount, instrument->panningPoints, instrument->panningLoopEnd,
                     instrument->panningLoopStart, instrument->panningSustain, UpdatePan);
    }
}

void channelFadeOut(Channel* channel, const Instrument* instrument) {
    if (!channel->keyOff) return;
    channel->fadeVolume -= instrument->fadeout;
    if (channel->fadeVolume < 0) channel->fadeVolume = 0;
    channel->flags |= UpdateVolume;
}
