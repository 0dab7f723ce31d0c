#include "platform/headless/png_writer.h"

#include <cstdlib>

#include "platform/soft/pixel_convert.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

bool writePng565(const char* path, const uint16_t* pixels, int32_t width, int32_t height) {
    if (path == nullptr || pixels == nullptr || width <= 0 || height <= 0) return false;
    const size_t count = static_cast<size_t>(width) * height;
    uint8_t* rgb = static_cast<uint8_t*>(std::malloc(3 * count));
    if (rgb == nullptr) return false;
    for (size_t i = 0; i < count; ++i) rgbFrom565(pixels[i], &rgb[3 * i], &rgb[3 * i + 1], &rgb[3 * i + 2]);
    const bool written = stbi_write_png(path, width, height, 3, rgb, 3 * width) != 0;
    std::free(rgb);
    return written;
}
