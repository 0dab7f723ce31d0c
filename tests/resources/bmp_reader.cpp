#include "bmp_reader.h"

namespace {

uint32_t u32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

} // namespace

bool readPalettedBmp(const uint8_t* data, uint32_t size, PalettedPicture* out) {
    if (size < 14 + 40 + 1024 || data[0] != 'B' || data[1] != 'M') return false;
    const uint8_t* info = data + 14;
    int32_t width = static_cast<int32_t>(u32(info + 4));
    int32_t height = static_cast<int32_t>(u32(info + 8));
    if (u32(data + 2) != size || u32(info) != 40 || u16(info + 12) != 1 || u16(info + 14) != 8 ||
        u32(info + 16) != 0 || width <= 0 || height <= 0)
        return false;
    uint32_t colours = u32(info + 32) ? u32(info + 32) : 256;
    uint32_t offset = u32(data + 10);
    uint32_t stride = (static_cast<uint32_t>(width) + 3) & ~3u;
    if (colours > 256 || offset < 14 + 40 + colours * 4 || offset + stride * height > size) return false;
    out->width = width;
    out->height = height;
    out->palette = {};
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* q = info + 40 + 4 * i;
        out->palette[i] = {q[2], q[1], q[0]};
    }
    out->pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = data + offset + stride * static_cast<uint32_t>(height - 1 - y);
        for (int32_t x = 0; x < width; ++x) out->pixels[static_cast<size_t>(y) * width + x] = row[x];
    }
    return true;
}
