#include <cmath>
#include <cstdint>

#include "audio/audio_output.h"
#include "audio/mix_frames.h"
#include "audio/mixer.h"
#include "audio/voice.h"
#include "music/module.h"

namespace {

constexpr uint64_t FrameOne = uint64_t{1} << 32;
// Distances of 2^24 frames or more are out of reach of one call.
constexpr uint64_t OutOfReach = uint64_t{1} << 56;
constexpr uint64_t Unlimited = ~uint64_t{0};
// Boundary handlings in a row that mix nothing before a voice is given up as stuck.
constexpr int MaxIdleSegments = 64;
// Each reflection takes about one loop length off the overshoot, which is below one step: a step of
// 705600 Hz at the lowest rate is 14112 frames, so a loop of one frame needs fewer reflections than this.
constexpr int MaxReflections = 1 << 15;

// The part of a sample that a voice may play: frames start..end-1 loop (when mode is a loop mode), and
// frame end is the guard frame. Never beyond the sample's data.
struct LoopBounds {
    uint32_t start;
    uint32_t length;
    uint32_t end;
    uint8_t mode; // LoopForward, LoopPingPong, or 0 for no loop
};

LoopBounds loopBounds(const Sample& sample) {
    const uint32_t available = sample.data ? sample.length : 0;
    LoopBounds bounds{};
    const bool looped = sample.loopMode == LoopForward || sample.loopMode == LoopPingPong;
    if (looped && sample.loopLength > 0 && sample.loopStart < available) {
        uint64_t end = uint64_t{sample.loopStart} + sample.loopLength;
        if (end > available) end = available; // a loop that runs past the data ends with it
        bounds.start = sample.loopStart;
        bounds.end = static_cast<uint32_t>(end);
        bounds.length = bounds.end - bounds.start;
        bounds.mode = sample.loopMode;
        return bounds;
    }
    if (looped) {
        // A loop that lies outside the data or has no length: play the data once.
        bounds.end = available;
        bounds.length = available;
        return bounds;
    }
    uint64_t end = uint64_t{sample.loopStart} + sample.loopLength;
    if (end > available) end = available;
    bounds.end = static_cast<uint32_t>(end);
    bounds.start = sample.loopStart < bounds.end ? sample.loopStart : bounds.end;
    bounds.length = bounds.end - bounds.start;
    return bounds;
}

// Output frames until the position reaches the boundary ahead: the distance at 24.8 precision divided
// by the step at 24.8 precision, rounded up. 0 when the position is at or past the boundary; Unlimited
// when the boundary lies beyond the next frames frames (frames >= 0).
uint64_t framesToBoundary(uint64_t position, bool forward, const LoopBounds& bounds, uint64_t step,
                          uint32_t step24, int32_t frames) {
    uint64_t distance;
    if (forward) {
        const uint64_t end = uint64_t{bounds.end} << 32;
        if (position >= end) return 0;
        distance = end - position;
    } else {
        const uint64_t start = uint64_t{bounds.start} << 32;
        if (position <= start) return 0;
        distance = position - start;
    }
    if (distance >= OutOfReach) return Unlimited;
    if (step24 == 0) {
        // A step below 2^-24 frame does not show at 24.8 precision: count at full precision.
        if (step == 0) return Unlimited;
        return distance / step + (distance % step != 0 ? 1 : 0);
    }
    const uint64_t units = distance >> 8;
    // The count is above frames exactly when units > frames * step24 (below 2^63): no division needed.
    if (units > static_cast<uint64_t>(frames) * step24) return Unlimited;
    return units / step24 + (units % step24 != 0 ? 1 : 0);
}

// The smaller of wanted and the frames that can be mixed from position while every frame's integer part
// stays within 0..end, so that interpolation reads nothing outside the data and its guard and slack
// frames. Each frame may drop one unit of fraction on top of the step.
uint64_t framesInsideData(uint64_t position, bool forward, uint32_t end, uint64_t step, uint64_t wanted) {
    const uint64_t top = end < UINT32_MAX ? (uint64_t{end} + 1) << 32 : Unlimited;
    if (position >= top || wanted == 0) return 0;
    // Frame k stays inside while k * stride <= room.
    const uint64_t room = forward ? top - 1 - position : position;
    const uint64_t stride = forward ? step : step + 1;
    if (stride == 0) return forward ? wanted : 1;
    // While the product stays below 2^63, one multiplication tells whether all wanted frames fit.
    if (wanted - 1 < (uint64_t{1} << 24) && stride < (uint64_t{1} << 39) && (wanted - 1) * stride <= room)
        return wanted;
    const uint64_t inside = room / stride + 1;
    return inside < wanted ? inside : wanted;
}

void wrapForward(uint64_t& position, const LoopBounds& bounds) {
    uint32_t frame = static_cast<uint32_t>(position >> 32);
    uint32_t fraction = static_cast<uint32_t>(position);
    if (frame >= bounds.length) {
        frame -= bounds.length;
        if (frame >= bounds.end) frame -= ((frame - bounds.end) / bounds.length + 1) * bounds.length;
    } else {
        // Only a position a hair short of the end of a loop that starts at frame 0 gets here: taking
        // the loop length off would go below the first frame.
        frame = bounds.start;
        fraction = 0;
    }
    position = (uint64_t{frame} << 32) | fraction;
}

int64_t signedFrame(uint64_t position) {
    return static_cast<int32_t>(static_cast<uint32_t>(position >> 32));
}

// Reflects the position at the loop end (moving forward) or start (moving backward), and again at the
// other end until it lies inside the loop; one unit of 2^-32 frame is lost per reflection.
void reflectPingPong(uint64_t& position, int32_t& direction, const LoopBounds& bounds) {
    const uint64_t start = uint64_t{bounds.start} << 32;
    const uint64_t end = uint64_t{bounds.end} << 32;
    bool atEnd = direction == 1;
    for (int reflections = 0; reflections < MaxReflections; ++reflections) {
        if (atEnd) {
            position = 2 * end - position - 1;
            direction = 2;
            if (signedFrame(position) < int64_t{bounds.start}) {
                atEnd = false;
                continue;
            }
        } else {
            position = 2 * start - position - 1;
            direction = 1;
            if (signedFrame(position) >= int64_t{bounds.end}) {
                atEnd = true;
                continue;
            }
            // Landing exactly on a loop start of 0 would leave the position a hair before the first frame.
            if (signedFrame(position) < 0) position = 0;
        }
        return;
    }
    // Only a position that no step can reach gets here: start the loop afresh.
    position = start;
    direction = 1;
}

// The gain g / 255 as a single-precision float. The product of an 8-bit integer and a float is exact at
// double precision, so the single-precision product rounds it the same way; written so, the compiler
// keeps the rounding (it has been seen to drop a double-to-float-to-double round trip when vectorising).
float gainOf(uint32_t gain) {
    return static_cast<float>(gain) * MixGainScale;
}

uint8_t gainReached(float gain) {
    const long value = std::lrint(static_cast<double>(gain) * 255.0);
    if (value < 0) return 0;
    if (value > 255) return 255;
    return static_cast<uint8_t>(value);
}

void mixVoice(Voice& voice, float* out, int32_t frames) {
    const Sample& sample = *voice.sample;
    const LoopBounds bounds = loopBounds(sample);
    const int16_t* data = sample.data;
    uint64_t position = (uint64_t{voice.positionInt} << 32) | voice.positionFrac;
    const uint64_t step = (uint64_t{voice.stepInt} << 32) | voice.stepFrac;
    const uint32_t step24 = (voice.stepInt << 24) + (voice.stepFrac >> 8);
    if (voice.direction != 2) voice.direction = 1;
    int idleSegments = 0;

    for (;;) {
        const bool forward = voice.direction == 1;
        const uint64_t boundary = framesToBoundary(position, forward, bounds, step, step24, frames);
        bool atBoundary = boundary <= static_cast<uint64_t>(frames);
        uint64_t segment = atBoundary ? boundary : static_cast<uint64_t>(frames);
        const uint64_t inside = framesInsideData(position, forward, bounds.end, step, segment);
        if (segment > inside) {
            segment = inside;
            atBoundary = true;
        }

        const uint64_t advance = forward ? step : 0 - step;
        uint64_t count = segment;
        if (voice.rampFramesLeft > 0 && voice.gainLeft == voice.rampTargetLeft &&
            voice.gainRight == voice.rampTargetRight) {
            // Holding: what is left of a ramp that a segment end cut short, at the gains it reached.
            if (count > voice.rampFramesLeft) count = voice.rampFramesLeft;
            if (voice.currentLeft == 0 && voice.currentRight == 0) {
                position = mixAdvanceFrames(position, advance, static_cast<uint32_t>(count));
            } else {
                // The gains stay as they are: this is the fixed-gain path at the gains reached.
                mixFramesFixed(out, data, position, advance, static_cast<int32_t>(count),
                               gainOf(voice.currentLeft), gainOf(voice.currentRight));
            }
            voice.rampFramesLeft -= static_cast<uint32_t>(count);
        } else {
            voice.rampTargetLeft = voice.gainLeft;
            voice.rampTargetRight = voice.gainRight;
            float changeLeft = 0.0f;
            float changeRight = 0.0f;
            const double perFrame = static_cast<double>(audioOutput.rampReciprocal);
            if (voice.gainLeft != voice.currentLeft)
                changeLeft = static_cast<float>((voice.gainLeft - voice.currentLeft) *
                                                static_cast<double>(MixGainScale) * perFrame);
            if (voice.gainRight != voice.currentRight)
                changeRight = static_cast<float>((voice.gainRight - voice.currentRight) *
                                                 static_cast<double>(MixGainScale) * perFrame);
            if (voice.gainLeft != voice.currentLeft || voice.gainRight != voice.currentRight) {
                const uint32_t rampLength =
                    static_cast<uint32_t>(audioOutput.rampLength > 0 ? audioOutput.rampLength : 1);
                voice.rampFramesLeft = rampLength;
                if (count > rampLength) count = rampLength;
                float left = gainOf(voice.currentLeft);
                float right = gainOf(voice.currentRight);
                mixFramesRamp(out, data, position, advance, static_cast<int32_t>(count), left, right,
                              changeLeft, changeRight);
                voice.currentLeft = gainReached(left);
                voice.currentRight = gainReached(right);
                voice.rampFramesLeft -= static_cast<uint32_t>(count);
            } else if (voice.gainLeft == 0 && voice.gainRight == 0) {
                // Adding v * 0 leaves a float as it is (a block starts at +0 and never holds -0): only
                // the position moves on.
                position = mixAdvanceFrames(position, advance, static_cast<uint32_t>(count));
            } else {
                mixFramesFixed(out, data, position, advance, static_cast<int32_t>(count),
                               gainOf(voice.gainLeft), gainOf(voice.gainRight));
            }
        }
        frames -= static_cast<int32_t>(count);
        out += 2 * count;
        idleSegments = count == 0 ? idleSegments + 1 : 0;
        if (count < segment) continue; // a ramp or hold ran out first: a new segment from here

        if (!atBoundary) break;
        if (bounds.mode == LoopForward) {
            wrapForward(position, bounds);
        } else if (bounds.mode == LoopPingPong) {
            reflectPingPong(position, voice.direction, bounds);
        } else {
            voice.sample = nullptr;
            position = 0;
            break;
        }
        if (frames <= 0) break;
        if (idleSegments > MaxIdleSegments) {
            voice.sample = nullptr;
            position = 0;
            break;
        }
    }
    voice.positionInt = static_cast<uint32_t>(position >> 32);
    voice.positionFrac = static_cast<uint32_t>(position);
}

} // namespace

void mixBlock(float* destination, ListNode* voiceList, int32_t frameCount) {
    if (frameCount <= 0 || !destination || !voiceList) return;
    // The list holds the pool's voices in the order in which they lie in memory. A run of voices linked
    // in that order is found first and then visited by address, so that the processor need not wait for
    // each link to load before it can look at the next voice: most voices are silent and skipped.
    ListNode* node = voiceList->next;
    while (node != voiceList) {
        Voice* const run = static_cast<Voice*>(node);
        int32_t length = 1;
        while (run[length - 1].next == &run[length] && &run[length] != voiceList) ++length;
        for (int32_t i = 0; i < length; ++i) {
            if (run[i].sample) mixVoice(run[i], destination, frameCount);
        }
        node = run[length - 1].next;
    }
}

void mixerSetRate(int32_t rate) {
    const int64_t length = int64_t{rate} * 128 / 44100;
    audioOutput.rampLength = length < 1 ? 1 : static_cast<int32_t>(length);
    audioOutput.rampReciprocal = static_cast<float>(1.0 / audioOutput.rampLength);
}
