#pragma once
// A layer of single-pixel stars drifting to the right at four speeds, brighter the faster, plus a
// fifth class that neither moves nor shows. Each frame the stars are plotted into the locked layer,
// the layer is blitted with its colour key onto the destination, and the layer is cleared again.

#include <cstdint>

#include "display/surface.h"

struct Star {
    int32_t x;         // 0..layerWidth - 1
    int32_t y;         // 0..layerHeight - 1
    int32_t starClass; // 0..StarClassCount - 1
};

constexpr int32_t StarClassCount = 5;
constexpr int32_t HiddenStarClass = 4;

// Pixels per frame and 5-6-5 colour of each class; the hidden class has neither.
constexpr int32_t StarMoves[StarClassCount] = {4, 3, 2, 1, 0};
constexpr uint16_t StarColours[StarClassCount] = {0xFFFF, 0xD6BA, 0xAD75, 0x8430, 0x0000};

class Starfield {
  public:
    Starfield() = default;
    Starfield(const Starfield&) = delete;
    Starfield& operator=(const Starfield&) = delete;
    ~Starfield();

    // Places count stars on a width x height layer created through directDraw. Returns 1.
    int32_t init(GfxDevice* directDraw, int32_t count, int32_t width, int32_t height);
    // Moves every visible star right by its class's speed, back to 0 once it reaches the width. Returns 1.
    int32_t move();
    // Plots the stars, copies the layer's w x h rectangle at (srcX, srcY) to (x, y) on dest with its
    // colour key, and clears the layer. Returns 1.
    int32_t draw(SurfaceBase& dest, int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX, int32_t srcY);

    Surface layer;
    int32_t starCount = 0;
    Star* stars = nullptr;
    int32_t layerWidth = 0;
    int32_t layerHeight = 0;
};
