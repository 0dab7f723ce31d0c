// The graphics seam over DirectDraw 7: the handles of platform/graphics.h are the DirectDraw
// interfaces themselves.

#include <windows.h>

#include <ddraw.h>

#include <cstddef>

#include "platform/graphics.h"

static_assert(sizeof(PaletteEntry) == sizeof(PALETTEENTRY), "palette entries are PALETTEENTRY");
static_assert(sizeof(GfxRect) == sizeof(RECT), "rectangles are RECT");
static_assert(sizeof(GfxRegionHeader) == sizeof(RGNDATAHEADER), "the region header is RGNDATAHEADER");
static_assert(offsetof(GfxRegionHeader, bound) == offsetof(RGNDATAHEADER, rcBound), "bounding rectangle");
static_assert(offsetof(RGNDATA, Buffer) == sizeof(RGNDATAHEADER), "rectangles follow the header");

namespace {

// {15E65EC0-3B9C-11D2-B92F-00609797EA5B}, defined here rather than taken from dxguid.
const GUID IidDirectDraw7 = {0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

IDirectDraw7* ddraw(GfxDevice* device) {
    return reinterpret_cast<IDirectDraw7*>(device);
}
IDirectDrawSurface7* ddsurface(GfxSurface* surface) {
    return reinterpret_cast<IDirectDrawSurface7*>(surface);
}
IDirectDrawPalette* ddpalette(GfxPalette* palette) {
    return reinterpret_cast<IDirectDrawPalette*>(palette);
}
IDirectDrawClipper* ddclipper(GfxClipper* clipper) {
    return reinterpret_cast<IDirectDrawClipper*>(clipper);
}

// The palettes made through each device. A palette must be released before the DirectDraw object
// that made it, but surface objects may outlive the device; releasing the device therefore releases
// its palettes first, and a later release of such a palette is ignored.
struct PaletteRecord {
    IDirectDraw7* device;
    IDirectDrawPalette* palette;
};
constexpr int MaxPalettes = 64;
PaletteRecord palettes[MaxPalettes];

} // namespace

GfxDevice* gfxCreateDevice() {
    IDirectDraw* first = nullptr;
    if (FAILED(DirectDrawCreate(nullptr, &first, nullptr))) return nullptr;
    IDirectDraw7* device = nullptr;
    const HRESULT result = first->QueryInterface(IidDirectDraw7, reinterpret_cast<void**>(&device));
    first->Release();
    if (FAILED(result)) return nullptr;
    return reinterpret_cast<GfxDevice*>(device);
}

void gfxReleaseDevice(GfxDevice* device) {
    if (device == nullptr) return;
    for (PaletteRecord& record : palettes) {
        if (record.device == ddraw(device)) {
            record.palette->Release();
            record = PaletteRecord{};
        }
    }
    ddraw(device)->Release();
}

bool gfxSetCooperativeLevel(GfxDevice* device, WindowHandle window) {
    if (device == nullptr) return false;
    return SUCCEEDED(ddraw(device)->SetCooperativeLevel(static_cast<HWND>(window),
                                                        DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN |
                                                            DDSCL_ALLOWREBOOT | DDSCL_ALLOWMODEX));
}

bool gfxSetDisplayMode(GfxDevice* device, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (device == nullptr || width <= 0 || height <= 0 || bitsPerPixel <= 0) return false;
    return SUCCEEDED(ddraw(device)->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                                                   static_cast<DWORD>(bitsPerPixel), 0, 0));
}

GfxSurface* gfxCreateFlipChain(GfxDevice* device) {
    if (device == nullptr) return nullptr;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface7* primary = nullptr;
    if (FAILED(ddraw(device)->CreateSurface(&desc, &primary, nullptr))) return nullptr;
    return reinterpret_cast<GfxSurface*>(primary);
}

GfxSurface* gfxAttachedSurface(GfxSurface* primary, const GfxCaps* caps) {
    if (primary == nullptr || caps == nullptr) return nullptr;
    DDSCAPS2 attach{};
    attach.dwCaps = caps->caps[0];
    attach.dwCaps2 = caps->caps[1];
    attach.dwCaps3 = caps->caps[2];
    attach.dwCaps4 = caps->caps[3];
    IDirectDrawSurface7* back = nullptr;
    if (FAILED(ddsurface(primary)->GetAttachedSurface(&attach, &back))) return nullptr;
    return reinterpret_cast<GfxSurface*>(back);
}

GfxSurface* gfxCreateSurface(GfxDevice* device, int32_t width, int32_t height, uint32_t caps) {
    if (device == nullptr || width <= 0 || height <= 0) return nullptr;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = caps | DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface7* surface = nullptr;
    if (FAILED(ddraw(device)->CreateSurface(&desc, &surface, nullptr))) return nullptr;
    return reinterpret_cast<GfxSurface*>(surface);
}

void gfxReleaseSurface(GfxSurface* surface) {
    if (surface != nullptr) ddsurface(surface)->Release();
}

int32_t gfxBitsPerPixel(GfxSurface* surface) {
    if (surface == nullptr) return 0;
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    if (FAILED(ddsurface(surface)->GetPixelFormat(&format))) return 0;
    return static_cast<int32_t>(format.dwRGBBitCount);
}

void gfxSetColourKey(GfxSurface* surface, uint32_t key) {
    if (surface == nullptr) return;
    DDCOLORKEY colourKey{key, key};
    ddsurface(surface)->SetColorKey(DDCKEY_SRCBLT, &colourKey);
}

bool gfxLock(GfxSurface* surface, GfxSurfaceDesc* desc) {
    if (surface == nullptr || desc == nullptr) return false;
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    if (FAILED(ddsurface(surface)->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return false;
    desc->width = locked.dwWidth;
    desc->height = locked.dwHeight;
    desc->pitch = locked.lPitch;
    desc->bits = static_cast<uint8_t*>(locked.lpSurface);
    return true;
}

bool gfxUnlock(GfxSurface* surface) {
    return surface != nullptr && SUCCEEDED(ddsurface(surface)->Unlock(nullptr));
}

bool gfxFill(GfxSurface* surface, const GfxBltFx* fx) {
    if (surface == nullptr || fx == nullptr) return false;
    DDBLTFX bltFx{};
    bltFx.dwSize = sizeof bltFx;
    bltFx.dwFillColor = fx->fillColour;
    return SUCCEEDED(
        ddsurface(surface)->Blt(nullptr, nullptr, nullptr, DDBLT_WAIT | DDBLT_COLORFILL, &bltFx));
}

bool gfxBlitKeyed(GfxSurface* dest, const GfxRect* destRect, GfxSurface* src, const GfxRect* srcRect) {
    if (dest == nullptr || src == nullptr || destRect == nullptr || srcRect == nullptr) return false;
    RECT to{destRect->left, destRect->top, destRect->right, destRect->bottom};
    RECT from{srcRect->left, srcRect->top, srcRect->right, srcRect->bottom};
    return SUCCEEDED(ddsurface(dest)->Blt(&to, ddsurface(src), &from, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
}

GfxFlipResult gfxFlip(GfxSurface* primary) {
    if (primary == nullptr) return GfxFlipResult::Failed;
    const HRESULT result = ddsurface(primary)->Flip(nullptr, DDFLIP_WAIT);
    if (SUCCEEDED(result)) return GfxFlipResult::Flipped;
    if (result == DDERR_WASSTILLDRAWING) return GfxFlipResult::Busy;
    if (result == DDERR_SURFACELOST) {
        // Exclusive mode is gone (another program took the display, or the user switched away): the
        // surfaces and their pictures are lost. The intro ends through its normal shutdown rather than
        // rebuilding them.
        PostQuitMessage(0);
    }
    return GfxFlipResult::Failed;
}

GfxPalette* gfxCreatePalette(GfxDevice* device, const PaletteEntry entries[256]) {
    if (device == nullptr || entries == nullptr) return nullptr;
    PaletteRecord* slot = nullptr;
    for (PaletteRecord& record : palettes)
        if (record.palette == nullptr) slot = &record;
    if (slot == nullptr) return nullptr;
    PALETTEENTRY copy[256];
    for (int i = 0; i < 256; ++i)
        copy[i] = PALETTEENTRY{entries[i].red, entries[i].green, entries[i].blue, entries[i].flags};
    IDirectDrawPalette* palette = nullptr;
    if (FAILED(ddraw(device)->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, copy, &palette, nullptr)))
        return nullptr;
    *slot = PaletteRecord{ddraw(device), palette};
    return reinterpret_cast<GfxPalette*>(palette);
}

bool gfxSetPalette(GfxSurface* surface, GfxPalette* palette) {
    if (surface == nullptr || palette == nullptr) return false;
    return SUCCEEDED(ddsurface(surface)->SetPalette(ddpalette(palette)));
}

void gfxReleasePalette(GfxPalette* palette) {
    if (palette == nullptr) return;
    for (PaletteRecord& record : palettes) {
        if (record.palette == ddpalette(palette)) {
            record.palette->Release();
            record = PaletteRecord{};
            return;
        }
    }
}

GfxClipper* gfxCreateClipper(GfxDevice* device) {
    if (device == nullptr) return nullptr;
    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(ddraw(device)->CreateClipper(0, &clipper, nullptr))) return nullptr;
    return reinterpret_cast<GfxClipper*>(clipper);
}

bool gfxSetClipList(GfxClipper* clipper, const GfxRegionHeader* region) {
    if (clipper == nullptr || region == nullptr) return false;
    // SetClipList only reads the region; the interface is not const-correct.
    RGNDATA* data = reinterpret_cast<RGNDATA*>(const_cast<GfxRegionHeader*>(region));
    return SUCCEEDED(ddclipper(clipper)->SetClipList(data, 0));
}

bool gfxSetClipper(GfxSurface* surface, GfxClipper* clipper) {
    if (surface == nullptr || clipper == nullptr) return false;
    return SUCCEEDED(ddsurface(surface)->SetClipper(ddclipper(clipper)));
}
