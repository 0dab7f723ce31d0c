#include "display/display.h"

#include <cstdlib>
#include <cstring>

namespace {

// A busy flip is tried again at once, but not for ever.
constexpr int FlipAttempts = 1000;

} // namespace

Display::~Display() = default;

int32_t Display::init(WindowHandle window, int32_t width, int32_t height, int32_t bitsPerPixel) {
    this->window = window;
    this->width = width;
    this->height = height;
    this->bitsPerPixel = bitsPerPixel;

    directDraw = gfxCreateDevice();
    if (directDraw == nullptr) return 0;

    bool ready = gfxSetCooperativeLevel(directDraw, window) &&
                 gfxSetDisplayMode(directDraw, width, height, bitsPerPixel) &&
                 (primary = gfxCreateFlipChain(directDraw)) != nullptr;
    if (ready) {
        attachCaps = GfxCaps{};
        attachCaps.caps[0] = CapsBackBuffer;
        surface = gfxAttachedSurface(primary, &attachCaps);
        ready = surface != nullptr;
    }
    if (ready && bitsPerPixel == 8) {
        rampPalette(paletteEntries);
        palette = gfxCreatePalette(directDraw, paletteEntries);
        ready = palette != nullptr && gfxSetPalette(primary, palette);
    }
    if (!ready) {
        // Reverse order of creation; the back buffer belongs to the flip chain.
        if (palette != nullptr) gfxReleasePalette(palette);
        if (primary != nullptr) gfxReleaseSurface(primary);
        gfxReleaseDevice(directDraw);
        palette = nullptr;
        surface = nullptr;
        primary = nullptr;
        directDraw = nullptr;
        return 0;
    }

    bltFx = GfxBltFx{};
    gfxFill(primary, &bltFx);
    fill(0);
    return 1;
}

int32_t Display::setClipList(int32_t count, const GfxRect* rectangles) {
    if (directDraw == nullptr || surface == nullptr) return 0;
    if (count < 0 || (count > 0 && rectangles == nullptr)) return 0;
    clipper = gfxCreateClipper(directDraw);
    if (clipper == nullptr) return 0;

    const size_t rectBytes = static_cast<size_t>(count) * sizeof(GfxRect);
    void* region = std::malloc(sizeof(GfxRegionHeader) + rectBytes);
    if (region == nullptr) return 0;
    GfxRegionHeader* header = static_cast<GfxRegionHeader*>(region);
    if (count > 0) std::memcpy(header + 1, rectangles, rectBytes);
    header->size = sizeof(GfxRegionHeader);
    header->type = RegionRectangles;
    header->count = static_cast<uint32_t>(count);
    header->regionSize = static_cast<uint32_t>(rectBytes);
    header->bound = GfxRect{64000, 64000, -64000, -64000};
    for (int32_t i = 0; i < count; ++i) {
        const GfxRect& r = rectangles[i];
        if (r.left < header->bound.left) header->bound.left = r.left;
        if (r.top < header->bound.top) header->bound.top = r.top;
        if (r.right > header->bound.right) header->bound.right = r.right;
        if (r.bottom > header->bound.bottom) header->bound.bottom = r.bottom;
    }

    const bool attached = gfxSetClipList(clipper, header) && gfxSetClipper(surface, clipper);
    std::free(region);
    return attached ? 1 : 0;
}

int32_t Display::present() {
    if (lockedBits != nullptr) return 0;
    if (primary == nullptr) return 0;
    for (int attempt = 0; attempt < FlipAttempts; ++attempt) {
        const GfxFlipResult result = gfxFlip(primary);
        if (result == GfxFlipResult::Flipped) return 1;
        if (result == GfxFlipResult::Failed) return 0;
    }
    return 0;
}

int32_t Display::release() {
    if (palette != nullptr) gfxReleasePalette(palette);
    if (primary != nullptr) gfxReleaseSurface(primary);
    if (directDraw != nullptr) gfxReleaseDevice(directDraw);
    palette = nullptr;
    primary = nullptr;
    surface = nullptr;
    clipper = nullptr;
    directDraw = nullptr;
    lockedBits = nullptr;
    pitch = 0;
    return 1;
}
