#pragma once
// A decoder for the BMP files the intro's bitmaps come in: uncompressed, 1, 4, 8, 24 or 32 bits per
// pixel, bottom-up or top-down, with the 12-byte or a 40-byte-or-longer info header. Anything else,
// and every file whose sizes or offsets do not add up, is refused.

#include <cstddef>
#include <cstdint>

#include "platform/soft/soft_graphics.h"

// The decoded bitmap, scaled (nearest pixel) to width x height where those are not 0; null when the
// bytes are not a bitmap this decoder reads. Free it with gfxDeleteBitmap.
GfxBitmap* decodeBmp(const uint8_t* data, size_t size, int32_t width, int32_t height);
