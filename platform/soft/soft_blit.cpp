// Pixel access of the software backend: lock, fill and the colour-keyed copy with its clip list.

#include <cstring>

#include "platform/soft/soft_graphics.h"

namespace {

bool intersect(const GfxRect& a, const GfxRect& b, GfxRect* out) {
    out->left = a.left > b.left ? a.left : b.left;
    out->top = a.top > b.top ? a.top : b.top;
    out->right = a.right < b.right ? a.right : b.right;
    out->bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return out->left < out->right && out->top < out->bottom;
}

bool inside(const GfxRect& r, const GfxSurface* s) {
    return r.left >= 0 && r.top >= 0 && r.right <= s->width && r.bottom <= s->height;
}

// Copies the part `part` of the destination rectangle, from the matching place of the source.
void copyKeyed(GfxSurface* dest, const GfxRect& destRect, const GfxSurface* src, const GfxRect& srcRect,
               const GfxRect& part) {
    const int32_t bpp = bytesPerPixel(src->bitsPerPixel);
    const int32_t dx = srcRect.left - destRect.left, dy = srcRect.top - destRect.top;
    const int32_t rows = part.bottom - part.top, columns = part.right - part.left;
    // Within one surface the copy runs away from the overlap, so no source pixel is overwritten first.
    const bool upward = src == dest && dy < 0;
    const bool leftward = src == dest && dx < 0;
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t y = upward ? part.bottom - 1 - i : part.top + i;
        uint8_t* to = dest->pixels + static_cast<size_t>(y) * dest->pitch;
        const uint8_t* from = src->pixels + static_cast<size_t>(y + dy) * src->pitch;
        for (int32_t j = 0; j < columns; ++j) {
            const int32_t x = leftward ? part.right - 1 - j : part.left + j;
            if (bpp == 2) {
                uint16_t pixel;
                std::memcpy(&pixel, from + 2 * static_cast<size_t>(x + dx), 2);
                if (pixel != src->colourKey) std::memcpy(to + 2 * static_cast<size_t>(x), &pixel, 2);
            } else {
                const uint8_t pixel = from[x + dx];
                if (pixel != src->colourKey) to[x] = pixel;
            }
        }
    }
}

} // namespace

bool gfxLock(GfxSurface* surface, GfxSurfaceDesc* desc) {
    if (surface == nullptr || desc == nullptr || surface->locked) return false;
    surface->locked = true;
    desc->width = static_cast<uint32_t>(surface->width);
    desc->height = static_cast<uint32_t>(surface->height);
    desc->pitch = surface->pitch;
    desc->bits = surface->pixels;
    return true;
}

bool gfxUnlock(GfxSurface* surface) {
    if (surface == nullptr || !surface->locked) return false;
    surface->locked = false;
    return true;
}

bool gfxFill(GfxSurface* surface, const GfxBltFx* fx) {
    if (surface == nullptr || fx == nullptr || surface->locked) return false;
    if (surface->bitsPerPixel == 8) {
        std::memset(surface->pixels, static_cast<uint8_t>(fx->fillColour),
                    static_cast<size_t>(surface->pitch) * surface->height);
        return true;
    }
    const uint16_t colour = static_cast<uint16_t>(fx->fillColour);
    for (int32_t y = 0; y < surface->height; ++y) {
        uint8_t* row = surface->pixels + static_cast<size_t>(y) * surface->pitch;
        for (int32_t x = 0; x < surface->width; ++x) std::memcpy(row + 2 * x, &colour, 2);
    }
    return true;
}

bool gfxBlitKeyed(GfxSurface* dest, const GfxRect* destRect, GfxSurface* src, const GfxRect* srcRect) {
    if (dest == nullptr || src == nullptr || destRect == nullptr || srcRect == nullptr) return false;
    if (dest->locked || src->locked || !src->keyed || dest->bitsPerPixel != src->bitsPerPixel) return false;
    const int64_t w = int64_t{destRect->right} - destRect->left;
    const int64_t h = int64_t{destRect->bottom} - destRect->top;
    if (w <= 0 || h <= 0) return false;
    if (int64_t{srcRect->right} - srcRect->left != w || int64_t{srcRect->bottom} - srcRect->top != h)
        return false;
    if (!inside(*srcRect, src)) return false;

    const GfxRect whole{0, 0, dest->width, dest->height};
    if (dest->clipper == nullptr) {
        if (!inside(*destRect, dest)) return false;
        copyKeyed(dest, *destRect, src, *srcRect, *destRect);
        return true;
    }
    // Each clip rectangle lets its part of the destination through; a rectangle wholly outside the
    // clip list draws nothing and is no error.
    const GfxClipper* clipper = dest->clipper;
    for (uint32_t i = 0; i < clipper->count; ++i) {
        GfxRect visible, part;
        if (intersect(clipper->rects[i], whole, &visible) && intersect(*destRect, visible, &part))
            copyKeyed(dest, *destRect, src, *srcRect, part);
    }
    return true;
}
