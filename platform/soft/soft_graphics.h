#pragma once
// The software graphics backend's records behind the opaque handles of platform/graphics.h: surfaces
// of 16-bit 5-6-5 (or 8-bit paletted) pixels in memory. Shared by the SDL and the headless presenter.

#include <cstdint>

#include "platform/graphics.h"

struct GfxPalette {
    GfxDevice* device;
    GfxPalette* next; // all live palettes of every device
    PaletteEntry entries[256];
};

struct GfxClipper {
    GfxDevice* device;
    GfxClipper* next;
    GfxRect* rects;
    uint32_t count;
    GfxRect bound;
};

struct GfxSurface {
    GfxDevice* device;
    GfxSurface* next;
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel; // 16 or 8
    int32_t pitch;
    uint8_t* pixels;
    bool locked;
    bool keyed;
    uint32_t colourKey;
    GfxPalette* palette;
    GfxClipper* clipper;
    GfxSurface* backBuffer; // set on the primary of a flip chain
    GfxSurface* chain;      // set on the back buffer: its primary
};

struct GfxDevice {
    WindowHandle window;
    bool exclusive;
    bool modeSet;
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    GfxSurface* surfaces;
    GfxClipper* clippers;
    GfxSurface* primary;
};

// A decoded bitmap: one 0x00RRGGBB value per pixel, rows top-down.
struct GfxBitmap {
    int32_t width;
    int32_t height;
    uint32_t* pixels;
};

// What the flip chain's buffers hold before they are first cleared: not black, as screen memory that
// still shows whatever was there before the mode switch.
constexpr uint8_t ScreenLeftoverByte = 0xA5;

// Bytes of one pixel at a depth the backend supports (8 or 16).
inline int32_t bytesPerPixel(int32_t bitsPerPixel) {
    return bitsPerPixel / 8;
}
