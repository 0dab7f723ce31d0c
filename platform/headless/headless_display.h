#pragma once
// The headless presenter: every flipped frame is kept in memory as 5-6-5 pixels (8-bit frames are
// converted through their palette), for introcap and the tests.

#include <cstdint>

// Called after each presented frame with its 5-6-5 pixels, rows packed (width * 2 bytes each).
using HeadlessFrameHandler = void (*)(const uint16_t* pixels, int32_t width, int32_t height, void* user);

// The last presented frame, rows packed; null before the first. Kept after the display is released,
// until the next mode is set.
const uint16_t* headlessLastFrame(int32_t* width, int32_t* height);

// Frames presented since the mode was set.
uint32_t headlessFrameCount();

// Writes the last presented frame as an 8-bit RGB PNG file. False when there is no frame or the file
// cannot be written.
bool headlessWritePng(const char* path);

// Installs a handler for every following frame (null to remove it).
void headlessSetFrameHandler(HeadlessFrameHandler handler, void* user);
