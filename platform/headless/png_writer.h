#pragma once
// Writes 5-6-5 pixels as an 8-bit RGB PNG file.

#include <cstdint>

// rows of `width` pixels, packed. False when the file cannot be written.
bool writePng565(const char* path, const uint16_t* pixels, int32_t width, int32_t height);
