#include "platform/soft/bmp_decoder.h"

#include <cstdlib>
#include <new>

namespace {

// Bitmaps beyond this side length are refused as implausible.
constexpr int32_t MaxBitmapSide = 16384;

uint32_t read16(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}
uint32_t read32(const uint8_t* p) {
    return read16(p) | read16(p + 2) << 16;
}

struct BmpLayout {
    int32_t width;
    int32_t height; // always positive here
    bool topDown;
    uint32_t bitsPerPixel;
    uint32_t paletteOffset;
    uint32_t paletteEntrySize;
    uint32_t paletteCount;
    uint32_t pixelOffset;
    uint64_t stride;
};

bool readLayout(const uint8_t* data, size_t size, BmpLayout* layout) {
    if (data == nullptr || size < 14 + 12) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;
    layout->pixelOffset = read32(data + 10);
    const uint32_t headerSize = read32(data + 14);
    int64_t width, height;
    uint32_t planes, compression = 0, colorsUsed = 0;
    if (headerSize == 12) {
        width = read16(data + 18);
        height = read16(data + 20);
        planes = read16(data + 22);
        layout->bitsPerPixel = read16(data + 24);
        layout->paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (size < 14 + uint64_t{headerSize}) return false;
        width = static_cast<int32_t>(read32(data + 18));
        height = static_cast<int32_t>(read32(data + 22));
        planes = read16(data + 26);
        layout->bitsPerPixel = read16(data + 28);
        compression = read32(data + 30);
        colorsUsed = read32(data + 46);
        layout->paletteEntrySize = 4;
    } else {
        return false;
    }
    if (planes != 1 || compression != 0) return false;
    const uint32_t bpp = layout->bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
    layout->topDown = height < 0;
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > MaxBitmapSide || height > MaxBitmapSide) return false;
    layout->width = static_cast<int32_t>(width);
    layout->height = static_cast<int32_t>(height);

    layout->paletteOffset = 14 + headerSize;
    layout->paletteCount = 0;
    if (bpp <= 8) {
        const uint32_t maxColours = 1u << bpp;
        if (colorsUsed > maxColours) return false;
        layout->paletteCount = colorsUsed == 0 ? maxColours : colorsUsed;
        const uint64_t paletteEnd =
            uint64_t{layout->paletteOffset} + uint64_t{layout->paletteCount} * layout->paletteEntrySize;
        if (paletteEnd > size || paletteEnd > layout->pixelOffset) return false;
    }
    layout->stride = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
    if (layout->pixelOffset < layout->paletteOffset) return false;
    return uint64_t{layout->pixelOffset} + layout->stride * static_cast<uint64_t>(height) <= size;
}

uint32_t paletteColour(const uint8_t* data, const BmpLayout& layout, uint32_t index) {
    if (index >= layout.paletteCount) return 0; // no such colour: black
    const uint8_t* entry = data + layout.paletteOffset + index * layout.paletteEntrySize;
    return uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0];
}

uint32_t pixelAt(const uint8_t* data, const BmpLayout& layout, int32_t x, int32_t y) {
    const int32_t fileRow = layout.topDown ? y : layout.height - 1 - y;
    const uint8_t* row = data + layout.pixelOffset + layout.stride * static_cast<uint64_t>(fileRow);
    switch (layout.bitsPerPixel) {
    case 1:
        return paletteColour(data, layout, (row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4:
        return paletteColour(data, layout, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
    case 8:
        return paletteColour(data, layout, row[x]);
    case 24: {
        const uint8_t* p = row + 3 * static_cast<size_t>(x);
        return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    default: {
        const uint8_t* p = row + 4 * static_cast<size_t>(x);
        return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
    }
}

} // namespace

GfxBitmap* decodeBmp(const uint8_t* data, size_t size, int32_t width, int32_t height) {
    BmpLayout layout;
    if (!readLayout(data, size, &layout)) return nullptr;
    if (width < 0 || height < 0 || width > MaxBitmapSide || height > MaxBitmapSide) return nullptr;
    if (width == 0) width = layout.width;
    if (height == 0) height = layout.height;

    GfxBitmap* bitmap = new (std::nothrow) GfxBitmap{};
    if (bitmap == nullptr) return nullptr;
    bitmap->pixels =
        static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * static_cast<size_t>(width) * height));
    if (bitmap->pixels == nullptr) {
        delete bitmap;
        return nullptr;
    }
    bitmap->width = width;
    bitmap->height = height;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t sy = static_cast<int32_t>(int64_t{y} * layout.height / height);
        for (int32_t x = 0; x < width; ++x) {
            const int32_t sx = static_cast<int32_t>(int64_t{x} * layout.width / width);
            bitmap->pixels[static_cast<size_t>(y) * width + x] = pixelAt(data, layout, sx, sy);
        }
    }
    return bitmap;
}
