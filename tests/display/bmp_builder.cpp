#include "tests/display/bmp_builder.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value);
    put16(out, value >> 16);
}

std::vector<uint8_t> headers(int32_t width, int32_t height, uint32_t bpp, uint32_t colours, size_t bitsSize) {
    std::vector<uint8_t> out;
    const uint32_t offset = 14 + 40 + 4 * colours;
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(offset + bitsSize));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, bpp);
    put32(out, 0);
    put32(out, static_cast<uint32_t>(bitsSize));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, colours);
    put32(out, 0);
    return out;
}

} // namespace

std::vector<uint8_t> buildBmp8(int32_t width, int32_t height, const std::vector<Rgb>& palette,
                               const std::vector<uint8_t>& indices, bool topDown) {
    const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
    std::vector<uint8_t> out =
        headers(width, topDown ? -height : height, 8, static_cast<uint32_t>(palette.size()), stride * height);
    for (const Rgb& c : palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    for (int32_t i = 0; i < height; ++i) {
        const int32_t y = topDown ? i : height - 1 - i;
        for (size_t x = 0; x < stride; ++x)
            out.push_back(x < static_cast<size_t>(width) ? indices[static_cast<size_t>(y) * width + x] : 0);
    }
    return out;
}

std::vector<uint8_t> buildBmp24(int32_t width, int32_t height, const std::vector<Rgb>& pixels) {
    const size_t stride = (3 * static_cast<size_t>(width) + 3) & ~size_t{3};
    std::vector<uint8_t> out = headers(width, height, 24, 0, stride * height);
    for (int32_t y = height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < width; ++x) {
            const Rgb& c = pixels[static_cast<size_t>(y) * width + x];
            out.push_back(c.blue);
            out.push_back(c.green);
            out.push_back(c.red);
        }
        for (size_t pad = 3 * static_cast<size_t>(width); pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

void store16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}
void store32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    store16(bytes, at, value);
    store16(bytes, at + 2, value >> 16);
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    if (!bytes.empty()) {
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    }
    std::fclose(file);
}

std::string tempPath(const std::string& name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/display_test_" + std::to_string(getpid()) + "_" +
           name;
}

void HeadlessDisplayTest::SetUp() {
    ASSERT_EQ(screen.init(nullptr, 640, 480, 16), 1);
    const GfxRect whole{0, 0, 640, 480};
    ASSERT_EQ(screen.setClipList(1, &whole), 1);
}

void HeadlessDisplayTest::TearDown() {
    screen.release();
}

uint16_t HeadlessDisplayTest::pixelAt(SurfaceBase& surface, int32_t x, int32_t y) {
    uint8_t* bits = surface.lock();
    if (bits == nullptr) return 0xDEAD;
    uint16_t pixel;
    std::memcpy(&pixel, bits + surface.pitch * y + 2 * x, 2);
    surface.unlock();
    return pixel;
}

int32_t HeadlessDisplayTest::countLit(SurfaceBase& surface, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom) {
    uint8_t* bits = surface.lock();
    if (bits == nullptr) return -1;
    int32_t lit = 0;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            uint16_t pixel;
            std::memcpy(&pixel, bits + surface.pitch * y + 2 * x, 2);
            lit += pixel != 0;
        }
    }
    surface.unlock();
    return lit;
}
