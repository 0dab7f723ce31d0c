// The software backend's device: display mode, flip chain, off-screen surfaces, palettes, clippers.

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/soft/presenter.h"
#include "platform/soft/soft_graphics.h"

namespace {

// Larger surfaces are refused rather than risking sizes that overflow.
constexpr int32_t MaxSurfaceSide = 16384;

// Palettes of every device, so that releasing one after its device has gone can be recognised.
GfxPalette* livePalettes = nullptr;

GfxSurface* newSurface(GfxDevice* device, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return nullptr;
    GfxSurface* surface = new (std::nothrow) GfxSurface{};
    if (surface == nullptr) return nullptr;
    surface->pitch = width * bytesPerPixel(bitsPerPixel);
    surface->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(surface->pitch), height));
    if (surface->pixels == nullptr) {
        delete surface;
        return nullptr;
    }
    surface->device = device;
    surface->width = width;
    surface->height = height;
    surface->bitsPerPixel = bitsPerPixel;
    surface->next = device->surfaces;
    device->surfaces = surface;
    return surface;
}

void deleteSurface(GfxSurface* surface) {
    GfxDevice* device = surface->device;
    for (GfxSurface** link = &device->surfaces; *link != nullptr; link = &(*link)->next) {
        if (*link == surface) {
            *link = surface->next;
            break;
        }
    }
    if (device->primary == surface) device->primary = nullptr;
    std::free(surface->pixels);
    delete surface;
}

void unlinkPalette(GfxPalette* palette) {
    for (GfxPalette** link = &livePalettes; *link != nullptr; link = &(*link)->next) {
        if (*link == palette) {
            *link = palette->next;
            return;
        }
    }
}

bool isLivePalette(const GfxPalette* palette) {
    for (const GfxPalette* p = livePalettes; p != nullptr; p = p->next)
        if (p == palette) return true;
    return false;
}

} // namespace

GfxDevice* gfxCreateDevice() {
    return new (std::nothrow) GfxDevice{};
}

void gfxReleaseDevice(GfxDevice* device) {
    if (device == nullptr) return;
    if (device->modeSet) presenterClose();
    while (device->surfaces != nullptr) deleteSurface(device->surfaces);
    while (device->clippers != nullptr) {
        GfxClipper* clipper = device->clippers;
        device->clippers = clipper->next;
        std::free(clipper->rects);
        delete clipper;
    }
    for (GfxPalette** link = &livePalettes; *link != nullptr;) {
        GfxPalette* palette = *link;
        if (palette->device == device) {
            *link = palette->next;
            delete palette;
        } else {
            link = &palette->next;
        }
    }
    delete device;
}

bool gfxSetCooperativeLevel(GfxDevice* device, WindowHandle window) {
    if (device == nullptr) return false;
    device->window = window;
    device->exclusive = true;
    return true;
}

bool gfxSetDisplayMode(GfxDevice* device, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (device == nullptr || !device->exclusive) return false;
    if (bitsPerPixel != 8 && bitsPerPixel != 16) return false;
    if (width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return false;
    if (device->modeSet) {
        presenterClose();
        device->modeSet = false;
    }
    if (!presenterOpen(device->window, width, height, bitsPerPixel)) return false;
    device->modeSet = true;
    device->width = width;
    device->height = height;
    device->bitsPerPixel = bitsPerPixel;
    return true;
}

GfxSurface* gfxCreateFlipChain(GfxDevice* device) {
    if (device == nullptr || !device->modeSet || device->primary != nullptr) return nullptr;
    GfxSurface* primary = newSurface(device, device->width, device->height, device->bitsPerPixel);
    if (primary == nullptr) return nullptr;
    GfxSurface* back = newSurface(device, device->width, device->height, device->bitsPerPixel);
    if (back == nullptr) {
        deleteSurface(primary);
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(primary->pitch) * primary->height;
    std::memset(primary->pixels, ScreenLeftoverByte, bytes);
    std::memset(back->pixels, ScreenLeftoverByte, bytes);
    primary->backBuffer = back;
    back->chain = primary;
    device->primary = primary;
    return primary;
}

GfxSurface* gfxAttachedSurface(GfxSurface* primary, const GfxCaps* caps) {
    if (primary == nullptr || caps == nullptr || (caps->caps[0] & CapsBackBuffer) == 0) return nullptr;
    return primary->backBuffer;
}

GfxSurface* gfxCreateSurface(GfxDevice* device, int32_t width, int32_t height, uint32_t) {
    if (device == nullptr) return nullptr;
    return newSurface(device, width, height, device->modeSet ? device->bitsPerPixel : 16);
}

void gfxReleaseSurface(GfxSurface* surface) {
    if (surface == nullptr) return;
    if (surface->chain != nullptr) return; // a back buffer ends with its flip chain
    if (surface->backBuffer != nullptr) deleteSurface(surface->backBuffer);
    deleteSurface(surface);
}

int32_t gfxBitsPerPixel(GfxSurface* surface) {
    return surface == nullptr ? 0 : surface->bitsPerPixel;
}

void gfxSetColourKey(GfxSurface* surface, uint32_t key) {
    if (surface == nullptr) return;
    surface->keyed = true;
    surface->colourKey = key;
}

GfxPalette* gfxCreatePalette(GfxDevice* device, const PaletteEntry entries[256]) {
    if (device == nullptr || entries == nullptr) return nullptr;
    GfxPalette* palette = new (std::nothrow) GfxPalette{};
    if (palette == nullptr) return nullptr;
    palette->device = device;
    std::memcpy(palette->entries, entries, sizeof palette->entries);
    palette->next = livePalettes;
    livePalettes = palette;
    return palette;
}

bool gfxSetPalette(GfxSurface* surface, GfxPalette* palette) {
    if (surface == nullptr || palette == nullptr || surface->bitsPerPixel != 8) return false;
    surface->palette = palette;
    if (surface->backBuffer != nullptr) surface->backBuffer->palette = palette;
    return true;
}

void gfxReleasePalette(GfxPalette* palette) {
    if (palette == nullptr || !isLivePalette(palette)) return;
    for (GfxSurface* s = palette->device->surfaces; s != nullptr; s = s->next)
        if (s->palette == palette) s->palette = nullptr;
    unlinkPalette(palette);
    delete palette;
}

GfxClipper* gfxCreateClipper(GfxDevice* device) {
    if (device == nullptr) return nullptr;
    GfxClipper* clipper = new (std::nothrow) GfxClipper{};
    if (clipper == nullptr) return nullptr;
    clipper->device = device;
    clipper->next = device->clippers;
    device->clippers = clipper;
    return clipper;
}

bool gfxSetClipList(GfxClipper* clipper, const GfxRegionHeader* region) {
    if (clipper == nullptr || region == nullptr) return false;
    if (region->size != sizeof(GfxRegionHeader) || region->type != RegionRectangles) return false;
    if (static_cast<uint64_t>(region->count) * sizeof(GfxRect) != region->regionSize) return false;
    GfxRect* rects = nullptr;
    if (region->count > 0) {
        rects = static_cast<GfxRect*>(std::malloc(region->regionSize));
        if (rects == nullptr) return false;
        std::memcpy(rects, region + 1, region->regionSize);
    }
    std::free(clipper->rects);
    clipper->rects = rects;
    clipper->count = region->count;
    clipper->bound = region->bound;
    return true;
}

bool gfxSetClipper(GfxSurface* surface, GfxClipper* clipper) {
    if (surface == nullptr || clipper == nullptr || surface->device != clipper->device) return false;
    surface->clipper = clipper;
    return true;
}

GfxFlipResult gfxFlip(GfxSurface* primary) {
    if (primary == nullptr || primary->backBuffer == nullptr) return GfxFlipResult::Failed;
    GfxSurface* back = primary->backBuffer;
    if (primary->locked || back->locked) return GfxFlipResult::Busy;
    uint8_t* shown = back->pixels;
    back->pixels = primary->pixels;
    primary->pixels = shown;
    const PaletteEntry* palette = primary->palette != nullptr ? primary->palette->entries : nullptr;
    presenterShow(primary->pixels, primary->pitch, palette);
    return GfxFlipResult::Flipped;
}
