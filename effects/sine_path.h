#pragma once
// Where the scroller puts a glyph: its column from its place in the text, its row on a sine wave that
// stands still on the screen.

#include <cmath>
#include <cstdint>

#include "effects/screen_size.h"

// Slightly below pi; kept as the single-precision value of this literal, not of pi itself.
constexpr float WavePi = 3.1415925f;

// The left column of character i: the text starts at scrollX, drawn two pixels further left.
inline int32_t glyphColumn(int32_t i, int32_t cellWidth, float scrollX) {
    return static_cast<int32_t>(static_cast<double>(i * cellWidth) + static_cast<double>(scrollX) - 2.0);
}

// A glyph is drawn from one cell left of the screen up to the last column.
inline bool glyphInRange(int32_t gx, int32_t cellWidth) {
    return gx >= -cellWidth && gx < ScreenWidth;
}

// The top row of the glyph at column gx: frequency waves across the screen width, amplitude pixels
// either side of the baseline.
inline int32_t waveRow(int32_t gx, float frequency, float amplitude, int32_t baseline) {
    const double angle = static_cast<double>(gx) / ScreenWidth * static_cast<double>(WavePi) * 2 *
                         static_cast<double>(frequency);
    return static_cast<int32_t>(std::sin(angle) * static_cast<double>(amplitude) + baseline);
}
