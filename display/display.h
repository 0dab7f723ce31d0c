#pragma once
// The visible screen: exclusive full-screen mode with a flip chain of a primary surface and one back
// buffer. As a SurfaceBase its surface is the back buffer, so fill(0) clears the frame being drawn and
// every blitTo with the Display as destination draws into it. All other surfaces are created through
// its device, `directDraw`.
//
// Call order: init, setClipList, then per frame fill(0), drawing, present; release at the end.
//
// The window given to init is the platform's window handle: the HWND on Windows; with SDL an
// SDL_Window* to use, or null to let the display open its own full-screen window (see
// platform/graphics.h); ignored headless.

#include <cstdint>

#include "display/surface_base.h"

class Display : public SurfaceBase {
  public:
    ~Display() override;

    // Exclusive full-screen mode, flip chain, both buffers cleared. 1 when ready, 0 otherwise (with
    // everything it created released again).
    int32_t init(WindowHandle window, int32_t width, int32_t height, int32_t bitsPerPixel);
    // Clips every blit into the back buffer to `count` rectangles (left, top, right, bottom; right and
    // bottom exclusive). 1 or 0.
    int32_t setClipList(int32_t count, const GfxRect* rectangles);
    // Flips the back buffer to the screen. 1 after a flip; 0 while the back buffer is locked or when
    // the flip failed.
    int32_t present();
    // Ends full-screen mode and every surface, palette and clipper of the device. Returns 1.
    int32_t release();

    GfxDevice* directDraw = nullptr;
    GfxSurface* primary = nullptr;
    GfxClipper* clipper = nullptr;
    WindowHandle window = nullptr;
};
