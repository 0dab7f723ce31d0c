#pragma once
// The mixer's inner loops: one run of frames of one voice, interpolated between frames n and n + 1 and
// added into float frames. Products are taken at double precision and only the two stores per frame are
// rounded to single precision, so the two-frame path and the one-frame path give the same bits.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The single-precision float nearest to 1/255: every 8-bit gain is scaled by it (255 gives exactly 1).
constexpr float MixGainScale = 1.0f / 255.0f;
// The weight of one unit of the fraction's upper 31 bits.
constexpr double MixWeightScale = 1.0 / 2147483648.0;

inline void mixFrame(float* out, const int16_t* data, uint64_t position, double left, double right) {
    const uint32_t frame = static_cast<uint32_t>(position >> 32);
    const double weight = static_cast<int32_t>(static_cast<uint32_t>(position) >> 1) * MixWeightScale;
    const double first = data[frame];
    const double value = first + (data[frame + 1] - first) * weight;
    out[0] = static_cast<float>(out[0] + value * left);
    out[1] = static_cast<float>(out[1] + value * right);
}

// Every frame drops the lowest bit of the fraction before it moves on by advance (the step, or its
// negation modulo 2^64 when running backward).
inline uint64_t mixAdvance(uint64_t position, uint64_t advance) {
    return (position & ~uint64_t{1}) + advance;
}

// The position after count frames without mixing them, as count steps of mixAdvance would leave it.
// After the first step the position is even, so each further step adds advance with its lowest bit
// cleared; the lowest bit of advance shows only in the last step.
inline uint64_t mixAdvanceFrames(uint64_t position, uint64_t advance, uint32_t count) {
    if (count == 0) return position;
    return (position & ~uint64_t{1}) + uint64_t{count} * (advance & ~uint64_t{1}) + (advance & 1);
}

// One frame at a time, with gains that grow by their change after each frame; left and right are the
// gains of the first frame and come back as the gains reached.
inline void mixFramesOneByOne(float* out, const int16_t* data, uint64_t& position, uint64_t advance,
                              int32_t count, float& left, float& right, float changeLeft, float changeRight) {
    for (int32_t i = 0; i < count; ++i) {
        mixFrame(out, data, position, left, right);
        left += changeLeft;
        right += changeRight;
        position = mixAdvance(position, advance);
        out += 2;
    }
}

#if defined(__SSE2__)
// The interpolated value of the frame at position times 2^31, as an integer. It has at most 48 bits, so
// it is exact here and again as a double, and the value times a gain is this times the gain times 2^-31
// (exact too), rounded once: the same product that mixFrame rounds. The integer unit does the
// interpolation, leaving the vector unit the products and sums.
inline int64_t mixValueScaled(const int16_t* data, uint64_t position) {
    const uint32_t frame = static_cast<uint32_t>(position >> 32);
    const int64_t first = data[frame];
    const int64_t weight = static_cast<uint32_t>(position) >> 1;
    return first * 2147483648 + (data[frame + 1] - first) * weight;
}

// Adds two frames' values (scaled as above), each times its own left/right gains (scaled by 2^-31),
// into the four floats at out.
inline void mixAddPair(float* out, int64_t value0, int64_t value1, __m128d gains0, __m128d gains1) {
    const __m128 destination = _mm_loadu_ps(out);
    const __m128d sum0 =
        _mm_add_pd(_mm_cvtps_pd(destination), _mm_mul_pd(_mm_set1_pd(static_cast<double>(value0)), gains0));
    const __m128d sum1 = _mm_add_pd(_mm_cvtps_pd(_mm_movehl_ps(destination, destination)),
                                    _mm_mul_pd(_mm_set1_pd(static_cast<double>(value1)), gains1));
    _mm_storeu_ps(out, _mm_movelh_ps(_mm_cvtpd_ps(sum0), _mm_cvtpd_ps(sum1)));
}
#endif

// Mixes count frames with gains that grow by their change after each frame, two frames per iteration;
// left and right are the gains of the first frame and come back as the gains reached. The gains grow in
// single precision either way, so each frame gets the gains that the one-frame path gives it.
inline void mixFramesRamp(float* out, const int16_t* data, uint64_t& position, uint64_t advance,
                          int32_t count, float& left, float& right, float changeLeft, float changeRight) {
#if defined(__SSE2__)
    const __m128 change = _mm_setr_ps(changeLeft, changeRight, 0.0f, 0.0f);
    const __m128d scale = _mm_set1_pd(MixWeightScale);
    __m128 gains = _mm_setr_ps(left, right, 0.0f, 0.0f);
    uint64_t p0 = position;
    for (int32_t pairs = count / 2; pairs > 0; --pairs) {
        const uint64_t p1 = mixAdvance(p0, advance);
        const __m128 next = _mm_add_ps(gains, change);
        mixAddPair(out, mixValueScaled(data, p0), mixValueScaled(data, p1),
                   _mm_mul_pd(_mm_cvtps_pd(gains), scale), _mm_mul_pd(_mm_cvtps_pd(next), scale));
        gains = _mm_add_ps(next, change);
        p0 = mixAdvance(p1, advance);
        out += 4;
    }
    position = p0;
    left = _mm_cvtss_f32(gains);
    right = _mm_cvtss_f32(_mm_shuffle_ps(gains, gains, 1));
    if (count & 1) mixFramesOneByOne(out, data, position, advance, 1, left, right, changeLeft, changeRight);
#else
    mixFramesOneByOne(out, data, position, advance, count, left, right, changeLeft, changeRight);
#endif
}

// Mixes count frames at fixed gains, two frames per iteration; an odd last frame goes through the
// one-frame path with no change.
inline void mixFramesFixed(float* out, const int16_t* data, uint64_t& position, uint64_t advance,
                           int32_t count, float left, float right) {
    int32_t pairs = count / 2;
#if defined(__SSE2__)
    const __m128d gains =
        _mm_set_pd(static_cast<double>(right) * MixWeightScale, static_cast<double>(left) * MixWeightScale);
    uint64_t p0 = position;
    for (; pairs > 0; --pairs) {
        const uint64_t p1 = mixAdvance(p0, advance);
        mixAddPair(out, mixValueScaled(data, p0), mixValueScaled(data, p1), gains, gains);
        p0 = mixAdvance(p1, advance);
        out += 4;
    }
    position = p0;
#else
    for (; pairs > 0; --pairs) {
        mixFrame(out, data, position, left, right);
        position = mixAdvance(position, advance);
        mixFrame(out + 2, data, position, left, right);
        position = mixAdvance(position, advance);
        out += 4;
    }
#endif
    if (count & 1) mixFramesOneByOne(out, data, position, advance, 1, left, right, 0.0f, 0.0f);
}
