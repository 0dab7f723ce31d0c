#include "platform/soft/pixel_convert.h"

#include <cstring>

namespace {

int32_t squaredDistance(int32_t r0, int32_t g0, int32_t b0, int32_t r1, int32_t g1, int32_t b1) {
    return (r0 - r1) * (r0 - r1) + (g0 - g1) * (g0 - g1) + (b0 - b1) * (b0 - b1);
}

} // namespace

void rgbFrom565(uint16_t pixel, uint8_t* red, uint8_t* green, uint8_t* blue) {
    const uint32_t r = pixel >> 11, g = (pixel >> 5) & 0x3F, b = pixel & 0x1F;
    *red = static_cast<uint8_t>((r << 3) | (r >> 2));
    *green = static_cast<uint8_t>((g << 2) | (g >> 4));
    *blue = static_cast<uint8_t>((b << 3) | (b >> 2));
}

uint16_t rgbTo565(uint8_t red, uint8_t green, uint8_t blue) {
    const uint16_t pixel = static_cast<uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
    if (pixel != 0 || (red | green | blue) == 0) return pixel;
    static const uint16_t candidates[] = {0x0800, 0x0020, 0x0001};
    uint16_t best = candidates[0];
    int32_t bestDistance = INT32_MAX;
    for (uint16_t candidate : candidates) {
        uint8_t r, g, b;
        rgbFrom565(candidate, &r, &g, &b);
        const int32_t distance = squaredDistance(red, green, blue, r, g, b);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

uint8_t nearestPaletteIndex(const PaletteEntry palette[256], uint8_t red, uint8_t green, uint8_t blue) {
    if ((red | green | blue) == 0) return 0;
    int32_t best = 1;
    int32_t bestDistance = INT32_MAX;
    for (int32_t i = 1; i < 256; ++i) {
        const PaletteEntry& e = palette[i];
        const int32_t distance = squaredDistance(red, green, blue, e.red, e.green, e.blue);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

void frameTo565(const uint8_t* pixels, int32_t pitch, int32_t bitsPerPixel, const PaletteEntry* palette,
                int32_t width, int32_t height, uint16_t* out) {
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
        uint16_t* to = out + static_cast<size_t>(y) * width;
        if (bitsPerPixel == 16) {
            std::memcpy(to, row, 2 * static_cast<size_t>(width));
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            const PaletteEntry e =
                palette != nullptr ? palette[row[x]] : PaletteEntry{row[x], row[x], row[x], 0};
            to[x] = static_cast<uint16_t>(((e.red >> 3) << 11) | ((e.green >> 2) << 5) | (e.blue >> 3));
        }
    }
}
