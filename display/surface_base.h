#pragma once
// One drawing surface of the display backend with its size, depth and lock state, and the operations
// every surface offers: lock, unlock, colour fill and colour-keyed blits onto another surface.

#include <cstdint>

#include "platform/graphics.h"

class SurfaceBase {
  public:
    SurfaceBase() = default;
    SurfaceBase(const SurfaceBase&) = delete;
    SurfaceBase& operator=(const SurfaceBase&) = delete;
    // Releases the palette, if any, and forgets the surface; the surface itself ends with the device.
    virtual ~SurfaceBase();

    // The first pixel, or null on failure. While locked, a second lock returns the same pointer.
    uint8_t* lock();
    // 1 on success; 0 when nothing was locked or the unlock failed (the lock is then kept).
    int32_t unlock();
    // Fills the whole surface with a colour in its pixel format. Returns 1.
    int32_t fill(uint32_t colour);
    // Copies the w x h rectangle at (srcX, srcY) of this surface to (x, y) on dest, skipping pixels of
    // value 0. No clipping of its own: the display's clip list cuts what reaches outside the screen.
    // True when the copy was accepted.
    bool blitTo(SurfaceBase& dest, int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX, int32_t srcY);

    GfxSurface* surface = nullptr; // for the Display: the back buffer
    GfxPalette* palette = nullptr; // only 8-bit surfaces have one
    PaletteEntry paletteEntries[256] = {};
    GfxSurfaceDesc desc = {}; // work record for locking
    GfxBltFx bltFx = {};      // work record for fills
    GfxCaps attachCaps = {};  // work record with which the Display finds its back buffer
    int32_t pitch = 0;        // bytes per row while locked, else 0
    int32_t bitsPerPixel = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* lockedBits = nullptr; // first pixel while locked, else null
};

// Fills entries with four ramps of 64: red, green, blue and grey, each from 0 to 252.
void rampPalette(PaletteEntry entries[256]);

// Stores colour at byte offset pitch * y + 2 * x of locked surface memory. No bounds check. Returns 1.
int32_t putPixel16(uint8_t* bits, int32_t pitch, int32_t x, int32_t y, uint16_t colour);
