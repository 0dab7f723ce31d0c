#include "display/surface_base.h"

#include <cstring>

SurfaceBase::~SurfaceBase() {
    if (palette != nullptr) gfxReleasePalette(palette);
    surface = nullptr;
    palette = nullptr;
    lockedBits = nullptr;
}

uint8_t* SurfaceBase::lock() {
    if (lockedBits != nullptr) return lockedBits;
    if (surface == nullptr) return nullptr;
    desc = GfxSurfaceDesc{};
    if (!gfxLock(surface, &desc)) return nullptr;
    pitch = desc.pitch;
    lockedBits = desc.bits;
    return lockedBits;
}

int32_t SurfaceBase::unlock() {
    if (lockedBits == nullptr) return 0;
    if (!gfxUnlock(surface)) return 0;
    lockedBits = nullptr;
    pitch = 0;
    return 1;
}

int32_t SurfaceBase::fill(uint32_t colour) {
    if (surface == nullptr) return 0;
    bltFx = GfxBltFx{};
    bltFx.fillColour = colour;
    gfxFill(surface, &bltFx);
    return 1;
}

bool SurfaceBase::blitTo(SurfaceBase& dest, int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX,
                         int32_t srcY) {
    if (surface == nullptr || dest.surface == nullptr) return false;
    // Computed wide so that extreme arguments cannot overflow; such rectangles are simply refused.
    const int64_t right = int64_t{x} + w, bottom = int64_t{y} + h;
    const int64_t srcRight = int64_t{srcX} + w, srcBottom = int64_t{srcY} + h;
    if (right > INT32_MAX || bottom > INT32_MAX || srcRight > INT32_MAX || srcBottom > INT32_MAX)
        return false;
    const GfxRect destination{x, y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    const GfxRect source{srcX, srcY, static_cast<int32_t>(srcRight), static_cast<int32_t>(srcBottom)};
    return gfxBlitKeyed(dest.surface, &destination, surface, &source);
}

void rampPalette(PaletteEntry entries[256]) {
    for (int i = 0; i < 256; ++i) {
        const uint8_t level = static_cast<uint8_t>(4 * (i % 64));
        PaletteEntry& e = entries[i];
        e.red = (i < 64 || i >= 192) ? level : 0;
        e.green = ((i >= 64 && i < 128) || i >= 192) ? level : 0;
        e.blue = (i >= 128) ? level : 0;
        e.flags = PaletteNoCollapse;
    }
}

int32_t putPixel16(uint8_t* bits, int32_t pitch, int32_t x, int32_t y, uint16_t colour) {
    // memcpy: the pitch need not keep rows 2-byte aligned.
    std::memcpy(bits + static_cast<intptr_t>(pitch) * y + 2 * static_cast<intptr_t>(x), &colour, 2);
    return 1;
}
