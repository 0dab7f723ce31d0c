#pragma once
// Colour conversions of the software backend.

#include <cstdint>

#include "platform/graphics.h"

// 8-bit red, green and blue to 5-6-5, keeping the top bits of each component. Pure black gives 0; any
// other colour gives a non-zero pixel, since 0 is the transparent colour of every keyed blit: a dark
// colour that would come out as 0 becomes the nearest of the three smallest non-zero pixels.
uint16_t rgbTo565(uint8_t red, uint8_t green, uint8_t blue);

// The index of the palette colour nearest to the given one. Pure black gives index 0; other colours
// never do, for the same reason.
uint8_t nearestPaletteIndex(const PaletteEntry palette[256], uint8_t red, uint8_t green, uint8_t blue);

// A 5-6-5 pixel widened to 8-bit components (the low bits repeat the high ones, so 31 becomes 255).
void rgbFrom565(uint16_t pixel, uint8_t* red, uint8_t* green, uint8_t* blue);

// Copies a frame of `bitsPerPixel` (16, or 8 through `palette`, or grey levels without one) into
// packed 5-6-5 rows of `width` pixels.
void frameTo565(const uint8_t* pixels, int32_t pitch, int32_t bitsPerPixel, const PaletteEntry* palette,
                int32_t width, int32_t height, uint16_t* out);
