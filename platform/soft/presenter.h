#pragma once
// Where the software backend's flipped frames go: an SDL2 window (platform/sdl) or memory
// (platform/headless). Exactly one presenter is linked with the software backend.

#include <cstdint>

#include "platform/graphics.h"

// Takes over the screen at the given size and depth (8 or 16 bits per pixel). False on failure.
bool presenterOpen(WindowHandle window, int32_t width, int32_t height, int32_t bitsPerPixel);

// Shows one frame: rows of `pitch` bytes in the depth given to presenterOpen; at 8 bits, `palette`
// holds the 256 colours (else null).
void presenterShow(const uint8_t* pixels, int32_t pitch, const PaletteEntry* palette);

// Gives the screen back.
void presenterClose();
