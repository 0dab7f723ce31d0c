#include "effects/starfield.h"

#include <cstdlib>

#include "effects/star_generator.h"

Starfield::~Starfield() {
    std::free(stars);
}

int32_t Starfield::init(GfxDevice* directDraw, int32_t count, int32_t width, int32_t height) {
    layerWidth = width;
    layerHeight = height;
    starCount = 0;
    std::free(stars);
    stars = nullptr;

    layer.create(directDraw, width, height, SurfaceVideoMemory);
    layer.fill(0); // a new surface's memory is undefined; the stars need a black layer

    // An empty layer has no place to put a star.
    if (count <= 0 || width <= 0 || height <= 0) return 1;
    stars = static_cast<Star*>(std::calloc(static_cast<size_t>(count), sizeof(Star)));
    if (stars == nullptr) return 1;
    starCount = count;

    StarGenerator generator;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t a = generator.next();
        const int32_t b = generator.next();
        const int32_t c = generator.next();
        stars[i] = Star{a % width, b % height, c % StarClassCount};
    }
    return 1;
}

int32_t Starfield::move() {
    for (int32_t i = 0; i < starCount; ++i) {
        Star& star = stars[i];
        if (star.starClass == HiddenStarClass) continue;
        star.x += StarMoves[star.starClass];
        if (star.x >= layerWidth) star.x = 0;
    }
    return 1;
}

int32_t Starfield::draw(SurfaceBase& dest, int32_t x, int32_t y, int32_t w, int32_t h, int32_t srcX,
                        int32_t srcY) {
    // The fixed colours are 16-bit pixels; on a layer of another depth they would overrun its rows.
    uint8_t* bits = layer.bitsPerPixel == 16 ? layer.lock() : nullptr;
    if (bits != nullptr) {
        const int32_t pitch = layer.pitch;
        for (int32_t i = 0; i < starCount; ++i) {
            const Star& star = stars[i];
            if (star.starClass == HiddenStarClass) continue;
            putPixel16(bits, pitch, star.x, star.y, StarColours[star.starClass]);
        }
        layer.unlock();
    }
    layer.blitTo(dest, x, y, w, h, srcX, srcY);
    layer.fill(0);
    return 1;
}
