// Bitmaps through GDI: loaded from the executable's resources or from a file, and drawn onto a
// DirectDraw surface through its device context, GDI converting to the surface's pixel format.

#include <windows.h>

#include <ddraw.h>

#include "platform/graphics.h"

namespace {

HBITMAP gdiBitmap(GfxBitmap* bitmap) {
    return reinterpret_cast<HBITMAP>(bitmap);
}

} // namespace

GfxBitmap* gfxLoadBitmap(const char* name, int32_t cx, int32_t cy) {
    HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, cx, cy, LR_CREATEDIBSECTION);
    // A resource number is no file path: it would be read as a string.
    if (bitmap == nullptr && !IS_INTRESOURCE(name))
        bitmap = LoadImageA(nullptr, name, IMAGE_BITMAP, cx, cy, LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    return reinterpret_cast<GfxBitmap*>(bitmap);
}

bool gfxBitmapSize(GfxBitmap* bitmap, int32_t* width, int32_t* height) {
    BITMAP bm{};
    if (bitmap == nullptr || GetObjectA(gdiBitmap(bitmap), sizeof bm, &bm) == 0) return false;
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    return true;
}

bool gfxDrawBitmap(GfxSurface* surface, GfxBitmap* bitmap, int32_t srcX, int32_t srcY, int32_t srcWidth,
                   int32_t srcHeight) {
    if (surface == nullptr || bitmap == nullptr) return false;
    IDirectDrawSurface7* target = reinterpret_cast<IDirectDrawSurface7*>(surface);
    if (FAILED(target->Restore())) return false;

    HDC memoryDC = CreateCompatibleDC(nullptr);
    if (memoryDC == nullptr) OutputDebugStringA("createcompatible dc failed\n");
    HGDIOBJ previous = memoryDC != nullptr ? SelectObject(memoryDC, gdiBitmap(bitmap)) : nullptr;

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    target->GetSurfaceDesc(&desc);

    HDC dc = nullptr;
    if (target->GetDC(&dc) != DD_OK) {
        if (memoryDC != nullptr) {
            SelectObject(memoryDC, previous);
            DeleteDC(memoryDC);
        }
        return false;
    }
    if (memoryDC != nullptr) {
        StretchBlt(dc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight), memoryDC, srcX,
                   srcY, srcWidth, srcHeight, SRCCOPY);
    }
    target->ReleaseDC(dc);
    if (memoryDC != nullptr) {
        SelectObject(memoryDC, previous);
        DeleteDC(memoryDC);
    }
    return true;
}

void gfxDeleteBitmap(GfxBitmap* bitmap) {
    if (bitmap != nullptr) DeleteObject(gdiBitmap(bitmap));
}
