#pragma once
// The graphics seam: the few operations the display layer (display/) needs from the platform.
//
// Exactly one backend is linked into each program:
//   graphics_win32     DirectDraw 7 and GDI (Windows)
//   graphics_sdl       software surfaces (platform/soft) shown in an SDL2 window
//   graphics_headless  software surfaces kept in memory, frames capturable as PNG (platform/headless)
//
// The handles are opaque. On Windows they are the DirectDraw interfaces themselves (IDirectDraw7,
// IDirectDrawSurface7, IDirectDrawPalette, IDirectDrawClipper) and a GDI HBITMAP; elsewhere they are
// the software backend's own records. As with DirectDraw, every surface, palette and clipper belongs
// to the device that created it and ends when that device is released.
//
// The window handed to gfxSetCooperativeLevel is the HWND on Windows. With SDL it may be an SDL_Window*
// the caller created (used, not owned), or null: the presenter then creates and owns a window of its own,
// titled "Quorvan DirectDraw Wrapper", full-screen on the desktop (windowed when the environment variable
// INTRO_WINDOWED is 1), the picture scaled to fit with its aspect kept, the cursor hidden. The headless
// backend ignores the window.

#include <cstdint>

struct GfxDevice;
struct GfxSurface;
struct GfxPalette;
struct GfxClipper;
struct GfxBitmap;

using WindowHandle = void*;

// Right and bottom are exclusive.
struct GfxRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct PaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;
};
constexpr uint8_t PaletteNoCollapse = 0x04;

// Work record for locking: the first pixel and the bytes per row while locked, and the size.
struct GfxSurfaceDesc {
    uint32_t width;
    uint32_t height;
    int32_t pitch;
    uint8_t* bits;
};

// Work record for colour fills; the colour is in the surface's pixel format.
struct GfxBltFx {
    uint32_t fillColour;
};

// Capability words; the bits keep DirectDraw's values so that the Windows backend passes them through.
struct GfxCaps {
    uint32_t caps[4];
};
constexpr uint32_t CapsBackBuffer = 0x00000004;
constexpr uint32_t CapsSystemMemory = 0x00000800;
constexpr uint32_t CapsVideoMemory = 0x00004000;

// A clip region: this 32-byte header followed directly by `count` GfxRect (the layout of RGNDATA).
struct GfxRegionHeader {
    uint32_t size; // of the header, 32
    uint32_t type; // RegionRectangles
    uint32_t count;
    uint32_t regionSize; // count * 16
    GfxRect bound;
};
constexpr uint32_t RegionRectangles = 1;

enum class GfxFlipResult {
    Flipped,
    Busy,   // the hardware could not take the flip yet; trying again may succeed
    Failed, // the flip chain is unusable (on Windows: lost, and the intro is asked to end)
};

// Device and mode.
GfxDevice* gfxCreateDevice();
void gfxReleaseDevice(GfxDevice* device); // ends every surface, palette and clipper it created
bool gfxSetCooperativeLevel(GfxDevice* device, WindowHandle window);
bool gfxSetDisplayMode(GfxDevice* device, int32_t width, int32_t height, int32_t bitsPerPixel);

// Surfaces. The flip chain is a primary surface with one attached back buffer; releasing the primary
// releases the chain. Off-screen surfaces take the display mode's pixel format.
GfxSurface* gfxCreateFlipChain(GfxDevice* device);
GfxSurface* gfxAttachedSurface(GfxSurface* primary, const GfxCaps* caps);
GfxSurface* gfxCreateSurface(GfxDevice* device, int32_t width, int32_t height, uint32_t caps);
void gfxReleaseSurface(GfxSurface* surface);
int32_t gfxBitsPerPixel(GfxSurface* surface);            // 0 on failure
void gfxSetColourKey(GfxSurface* surface, uint32_t key); // source colour key for keyed blits
bool gfxLock(GfxSurface* surface, GfxSurfaceDesc* desc);
bool gfxUnlock(GfxSurface* surface);
bool gfxFill(GfxSurface* surface, const GfxBltFx* fx);
// Copies srcRect of src to the equal-sized destRect of dest, skipping source pixels equal to src's
// colour key. A clipper on dest cuts the rectangles; without one, rectangles must lie inside dest.
bool gfxBlitKeyed(GfxSurface* dest, const GfxRect* destRect, GfxSurface* src, const GfxRect* srcRect);
GfxFlipResult gfxFlip(GfxSurface* primary);

// Palettes, for 8 bits per pixel only.
GfxPalette* gfxCreatePalette(GfxDevice* device, const PaletteEntry entries[256]);
bool gfxSetPalette(GfxSurface* surface, GfxPalette* palette);
void gfxReleasePalette(GfxPalette* palette); // a no-op once its device has been released

// Clipping.
GfxClipper* gfxCreateClipper(GfxDevice* device);
bool gfxSetClipList(GfxClipper* clipper, const GfxRegionHeader* region);
bool gfxSetClipper(GfxSurface* surface, GfxClipper* clipper);

// Bitmaps. `name` is a resource name or a number made with bitmapResource (display/surface.h); when
// the program has no such bitmap, the name is tried as a file path. cx, cy: the size to load the
// bitmap at, 0 for its own size.
GfxBitmap* gfxLoadBitmap(const char* name, int32_t cx, int32_t cy);
bool gfxBitmapSize(GfxBitmap* bitmap, int32_t* width, int32_t* height);
// Gives a lost surface its memory back, then stretches the source rectangle of the bitmap over the
// whole surface, converting to the surface's pixel format with pure black becoming pixel value 0.
bool gfxDrawBitmap(GfxSurface* surface, GfxBitmap* bitmap, int32_t srcX, int32_t srcY, int32_t srcWidth,
                   int32_t srcHeight);
void gfxDeleteBitmap(GfxBitmap* bitmap);
