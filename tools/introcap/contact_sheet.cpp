#include "tools/introcap/contact_sheet.h"

#include <algorithm>

namespace {

constexpr int32_t Columns = 4;
constexpr int32_t Gap = 8;
constexpr uint16_t Ground = 0x2104; // dark grey

uint16_t average(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    const auto red = [](uint16_t p) { return (p >> 11) & 0x1F; };
    const auto green = [](uint16_t p) { return (p >> 5) & 0x3F; };
    const auto blue = [](uint16_t p) { return p & 0x1F; };
    const int r = (red(a) + red(b) + red(c) + red(d) + 2) / 4;
    const int g = (green(a) + green(b) + green(c) + green(d) + 2) / 4;
    const int bl = (blue(a) + blue(b) + blue(c) + blue(d) + 2) / 4;
    return static_cast<uint16_t>((r << 11) | (g << 5) | bl);
}

} // namespace

Picture makeContactSheet(const std::vector<Picture>& frames) {
    Picture sheet;
    if (frames.empty()) return sheet;
    const int32_t cellWidth = frames[0].width / 2;
    const int32_t cellHeight = frames[0].height / 2;
    const int32_t count = static_cast<int32_t>(frames.size());
    const int32_t columns = std::min(count, Columns);
    const int32_t rows = (count + Columns - 1) / Columns;
    sheet.width = Gap + columns * (cellWidth + Gap);
    sheet.height = Gap + rows * (cellHeight + Gap);
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, Ground);
    for (int32_t i = 0; i < count; ++i) {
        const Picture& frame = frames[i];
        const int32_t left = Gap + (i % Columns) * (cellWidth + Gap);
        const int32_t top = Gap + (i / Columns) * (cellHeight + Gap);
        for (int32_t y = 0; y < cellHeight; ++y) {
            const uint16_t* row0 = &frame.pixels[static_cast<size_t>(2 * y) * frame.width];
            const uint16_t* row1 = row0 + frame.width;
            uint16_t* out = &sheet.pixels[static_cast<size_t>(top + y) * sheet.width + left];
            for (int32_t x = 0; x < cellWidth; ++x)
                out[x] = average(row0[2 * x], row0[2 * x + 1], row1[2 * x], row1[2 * x + 1]);
        }
    }
    return sheet;
}
