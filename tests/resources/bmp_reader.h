#pragma once
// Reads the 8-bit paletted BMP files of the intro's resources for the tests.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct PalettedPicture {
    int width = 0;
    int height = 0;
    std::array<std::array<uint8_t, 3>, 256> palette{}; // red, green, blue
    std::vector<uint8_t> pixels;                       // top row first, width bytes a row

    uint8_t index(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    const std::array<uint8_t, 3>& colour(int x, int y) const { return palette[index(x, y)]; }
};

// Accepts only what the resources promise: "BM", a 40-byte info header, 8 bits, no compression,
// bottom-up rows padded to 4 bytes, the pixel bits where the file header says. False otherwise.
bool readPalettedBmp(const uint8_t* data, uint32_t size, PalettedPicture* out);

// The pixel the 16-bit 5-6-5 screen gets for an 8-bit colour (truncating, as GDI does).
inline uint16_t to565(const std::array<uint8_t, 3>& c) {
    return static_cast<uint16_t>(((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3));
}
