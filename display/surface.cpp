#include "display/surface.h"

Surface::~Surface() = default;

int32_t Surface::create(GfxDevice* directDraw, int32_t width, int32_t height, uint32_t caps) {
    this->width = width;
    this->height = height;
    if (directDraw == nullptr) return 0;
    surface = gfxCreateSurface(directDraw, width, height, caps);
    if (surface == nullptr) return 0;
    bitsPerPixel = gfxBitsPerPixel(surface);
    if (bitsPerPixel == 8) {
        rampPalette(paletteEntries);
        palette = gfxCreatePalette(directDraw, paletteEntries);
        if (palette == nullptr || !gfxSetPalette(surface, palette)) {
            if (palette != nullptr) gfxReleasePalette(palette);
            gfxReleaseSurface(surface);
            palette = nullptr;
            surface = nullptr;
            return 0;
        }
    }
    gfxSetColourKey(surface, 0);
    return 1;
}

int32_t Surface::createFromBitmap(GfxDevice* directDraw, const char* name, uint32_t caps) {
    GfxBitmap* bitmap = gfxLoadBitmap(name, 0, 0);
    if (bitmap == nullptr) return 0;
    int32_t bitmapWidth = 0, bitmapHeight = 0;
    gfxBitmapSize(bitmap, &bitmapWidth, &bitmapHeight);
    if (!create(directDraw, bitmapWidth, bitmapHeight, caps)) {
        gfxDeleteBitmap(bitmap);
        return 0;
    }
    drawBitmap(bitmap, 0, 0, 0, 0);
    gfxDeleteBitmap(bitmap);
    return 1;
}

int32_t Surface::loadBitmap(const char* name, int32_t cx, int32_t cy) {
    if (surface == nullptr) return 0;
    GfxBitmap* bitmap = gfxLoadBitmap(name, cx, cy);
    if (bitmap == nullptr) return 0;
    drawBitmap(bitmap, 0, 0, 0, 0);
    gfxDeleteBitmap(bitmap);
    return 1;
}

int32_t Surface::drawBitmap(GfxBitmap* bitmap, int32_t srcX, int32_t srcY, int32_t srcWidth,
                            int32_t srcHeight) {
    if (bitmap == nullptr || surface == nullptr) return 0;
    int32_t bitmapWidth = 0, bitmapHeight = 0;
    gfxBitmapSize(bitmap, &bitmapWidth, &bitmapHeight);
    if (srcWidth == 0) srcWidth = bitmapWidth;
    if (srcHeight == 0) srcHeight = bitmapHeight;
    return gfxDrawBitmap(surface, bitmap, srcX, srcY, srcWidth, srcHeight) ? 1 : 0;
}
