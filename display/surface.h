#pragma once
// An off-screen surface whose colour 0 (black) is transparent as a blit source, filled from bitmaps.

#include <cstdint>

#include "display/surface_base.h"

// Where a surface should live, for create's caps.
constexpr uint32_t SurfaceSystemMemory = CapsSystemMemory;
constexpr uint32_t SurfaceVideoMemory = CapsVideoMemory;

// A bitmap name made from a resource number, as for loadBitmap(bitmapResource(101), 0, 0).
inline const char* bitmapResource(int id) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<uint16_t>(id)));
}

class Surface : public SurfaceBase {
  public:
    ~Surface() override;

    // An off-screen surface of the display's pixel format with colour key 0 (and, at 8 bits, the ramp
    // palette). directDraw is the Display's device. Returns 1 or 0.
    int32_t create(GfxDevice* directDraw, int32_t width, int32_t height, uint32_t caps);
    // Creates the surface at the size of bitmap `name` and draws the bitmap into it. Returns 1 or 0.
    int32_t createFromBitmap(GfxDevice* directDraw, const char* name, uint32_t caps);
    // Draws bitmap `name` (loaded at cx x cy, 0 for its own size) into the created surface. 1 or 0.
    int32_t loadBitmap(const char* name, int32_t cx, int32_t cy);
    // Stretches a rectangle of a bitmap (a width or height of 0: the bitmap's own) over the surface.
    int32_t drawBitmap(GfxBitmap* bitmap, int32_t srcX, int32_t srcY, int32_t srcWidth, int32_t srcHeight);
};
