// Bitmaps of the software backend: loaded from the program's resources or from a BMP file, and drawn
// one-to-one (stretched if the sizes differ) onto a surface in its pixel format.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/resources.h"
#include "platform/soft/bmp_decoder.h"
#include "platform/soft/pixel_convert.h"
#include "platform/soft/soft_graphics.h"

namespace {

// Files larger than this are not bitmaps the program would load.
constexpr long MaxBitmapFileBytes = 64L * 1024 * 1024;

// A name whose pointer value fits 16 bits is a resource number, as "#101" is too.
bool resourceNumber(const char* name, int* id) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(name);
    if (value <= 0xFFFF) {
        *id = static_cast<int>(value);
        return true;
    }
    if (name[0] != '#' || name[1] == '\0') return false;
    int number = 0;
    for (const char* p = name + 1; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9' || number > 0xFFFF) return false;
        number = number * 10 + (*p - '0');
    }
    if (number > 0xFFFF) return false;
    *id = number;
    return true;
}

GfxBitmap* loadFile(const char* path, int32_t cx, int32_t cy) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    GfxBitmap* bitmap = nullptr;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size <= MaxBitmapFileBytes && std::fseek(file, 0, SEEK_SET) == 0) {
            uint8_t* bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(size)));
            if (bytes != nullptr &&
                std::fread(bytes, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size))
                bitmap = decodeBmp(bytes, static_cast<size_t>(size), cx, cy);
            std::free(bytes);
        }
    }
    std::fclose(file);
    return bitmap;
}

} // namespace

GfxBitmap* gfxLoadBitmap(const char* name, int32_t cx, int32_t cy) {
    int id = 0;
    if (resourceNumber(name, &id)) {
        ResourceBytes bytes{};
        if (id != 0 && resourceBitmap(id, &bytes)) {
            GfxBitmap* bitmap = decodeBmp(bytes.data, bytes.size, cx, cy);
            if (bitmap != nullptr) return bitmap;
        }
        if (reinterpret_cast<uintptr_t>(name) <= 0xFFFF) return nullptr; // a number is no file path
    }
    return loadFile(name, cx, cy);
}

bool gfxBitmapSize(GfxBitmap* bitmap, int32_t* width, int32_t* height) {
    if (bitmap == nullptr) return false;
    *width = bitmap->width;
    *height = bitmap->height;
    return true;
}

bool gfxDrawBitmap(GfxSurface* surface, GfxBitmap* bitmap, int32_t srcX, int32_t srcY, int32_t srcWidth,
                   int32_t srcHeight) {
    if (surface == nullptr || bitmap == nullptr || surface->locked) return false;
    // An empty or inverted source rectangle draws nothing, which is not a failure of the surface.
    if (srcWidth <= 0 || srcHeight <= 0) return true;
    const PaletteEntry* palette = surface->palette != nullptr ? surface->palette->entries : nullptr;
    for (int32_t y = 0; y < surface->height; ++y) {
        const int64_t sy = int64_t{srcY} + int64_t{y} * srcHeight / surface->height;
        if (sy < 0 || sy >= bitmap->height) continue;
        uint8_t* row = surface->pixels + static_cast<size_t>(y) * surface->pitch;
        for (int32_t x = 0; x < surface->width; ++x) {
            const int64_t sx = int64_t{srcX} + int64_t{x} * srcWidth / surface->width;
            if (sx < 0 || sx >= bitmap->width) continue;
            const uint32_t rgb = bitmap->pixels[static_cast<size_t>(sy) * bitmap->width + sx];
            const uint8_t r = static_cast<uint8_t>(rgb >> 16), g = static_cast<uint8_t>(rgb >> 8),
                          b = static_cast<uint8_t>(rgb);
            if (surface->bitsPerPixel == 16) {
                const uint16_t pixel = rgbTo565(r, g, b);
                std::memcpy(row + 2 * static_cast<size_t>(x), &pixel, 2);
            } else if (palette != nullptr) {
                row[x] = nearestPaletteIndex(palette, r, g, b);
            } else {
                row[x] = (r | g | b) == 0 ? 0 : 1;
            }
        }
    }
    return true;
}

void gfxDeleteBitmap(GfxBitmap* bitmap) {
    if (bitmap == nullptr) return;
    std::free(bitmap->pixels);
    delete bitmap;
}
