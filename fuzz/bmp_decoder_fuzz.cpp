// Feeds arbitrary bytes to the software backend's BMP decoder, at the file's own size and scaled.

#include <cstddef>
#include <cstdint>

#include "platform/soft/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GfxBitmap* bitmap = decodeBmp(data, size, 0, 0);
    if (bitmap != nullptr) {
        volatile uint32_t sink = bitmap->pixels[static_cast<size_t>(bitmap->width) * bitmap->height - 1];
        (void)sink;
        gfxDeleteBitmap(bitmap);
        gfxDeleteBitmap(decodeBmp(data, size, 7, 3));
    }
    return 0;
}
