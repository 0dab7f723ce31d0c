#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "audio/mixer.h"

namespace {

int16_t clipValue(float value) {
    if (!(value > -32768.0f)) return -32768; // a NaN too, as on the vector path
    if (value >= 32767.0f) return 32767;
    return static_cast<int16_t>(std::lrint(value));
}

} // namespace

void clipBlock(int16_t* destination, const float* source, int32_t frameCount) {
    if (frameCount <= 0 || !destination || !source) return;
    int32_t values = frameCount * 2;
    int32_t i = 0;
#if defined(__SSE2__)
    // The conversion rounds to nearest, ties to even (the default rounding mode); clamping first keeps
    // it in range (a NaN becomes the lower bound).
    const __m128 low = _mm_set1_ps(-32768.0f);
    const __m128 high = _mm_set1_ps(32767.0f);
    for (; i + 8 <= values; i += 8) {
        const __m128 a = _mm_loadu_ps(source + i);
        const __m128 b = _mm_loadu_ps(source + i + 4);
        const __m128i ra = _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(a, low), high));
        const __m128i rb = _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(b, low), high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), _mm_packs_epi32(ra, rb));
    }
#endif
    for (; i < values; ++i) destination[i] = clipValue(source[i]);
}
