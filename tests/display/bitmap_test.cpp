#include <gtest/gtest.h>

#include <cstdio>

#include "display/surface.h"
#include "platform/resources.h"
#include "platform/soft/bmp_decoder.h"
#include "platform/soft/pixel_convert.h"
#include "tests/display/bmp_builder.h"

namespace {

using BitmapTest = HeadlessDisplayTest;

struct Conversion {
    Rgb colour;
    uint16_t pixel;
};

TEST(RgbTo565, BlackAloneBecomesZero) {
    const Conversion cases[] = {
        {{0, 0, 0}, 0x0000},   {{255, 255, 255}, 0xFFFF}, {{255, 0, 0}, 0xF800}, {{0, 255, 0}, 0x07E0},
        {{0, 0, 255}, 0x001F}, {{252, 0, 0}, 0xF800},     {{8, 4, 8}, 0x0821},   {{4, 0, 0}, 0x0800},
        {{0, 3, 0}, 0x0020},   {{0, 0, 7}, 0x0001},       {{1, 1, 1}, 0x0020},   {{7, 0, 7}, 0x0800},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(rgbTo565(c.colour.red, c.colour.green, c.colour.blue), c.pixel)
            << int(c.colour.red) << "," << int(c.colour.green) << "," << int(c.colour.blue);
    for (int r = 0; r < 8; ++r)
        for (int g = 0; g < 4; ++g)
            for (int b = 0; b < 8; ++b)
                if (r + g + b > 0) {
                    ASSERT_NE(rgbTo565(r, g, b), 0) << r << "," << g << "," << b;
                }
}

TEST_F(BitmapTest, CreateFromBitmapTakesTheFileSizeAndConvertsItsColours) {
    const std::string path = tempPath("colours.bmp");
    // The ramp palette's first red steps: 4 would truncate to black but must not turn transparent.
    writeFile(path,
              buildBmp8(3, 2, {{0, 0, 0}, {4, 0, 0}, {255, 255, 255}, {255, 0, 0}}, {0, 1, 2, 3, 3, 0}));
    Surface surface;
    ASSERT_EQ(surface.createFromBitmap(screen.directDraw, path.c_str(), SurfaceVideoMemory), 1);
    EXPECT_EQ(surface.width, 3);
    EXPECT_EQ(surface.height, 2);
    EXPECT_EQ(pixelAt(surface, 0, 0), 0x0000);
    EXPECT_EQ(pixelAt(surface, 1, 0), 0x0800);
    EXPECT_EQ(pixelAt(surface, 2, 0), 0xFFFF);
    EXPECT_EQ(pixelAt(surface, 0, 1), 0xF800);
    EXPECT_EQ(pixelAt(surface, 1, 1), 0xF800);
    EXPECT_EQ(pixelAt(surface, 2, 1), 0x0000);
    std::remove(path.c_str());
}

TEST_F(BitmapTest, TopDownAndTwentyFourBitFilesReadTheSame) {
    const std::vector<Rgb> palette{{0, 0, 0}, {0, 255, 0}};
    const std::vector<uint8_t> indices{1, 0, 0, 1};
    const std::string topDown = tempPath("top_down.bmp"), trueColour = tempPath("true_colour.bmp");
    writeFile(topDown, buildBmp8(2, 2, palette, indices, true));
    writeFile(trueColour, buildBmp24(2, 2, {{0, 255, 0}, {0, 0, 0}, {0, 0, 0}, {0, 255, 0}}));
    for (const std::string& path : {topDown, trueColour}) {
        Surface surface;
        ASSERT_EQ(surface.createFromBitmap(screen.directDraw, path.c_str(), SurfaceVideoMemory), 1) << path;
        EXPECT_EQ(pixelAt(surface, 0, 0), 0x07E0) << path;
        EXPECT_EQ(pixelAt(surface, 1, 0), 0) << path;
        EXPECT_EQ(pixelAt(surface, 0, 1), 0) << path;
        EXPECT_EQ(pixelAt(surface, 1, 1), 0x07E0) << path;
        std::remove(path.c_str());
    }
}

TEST_F(BitmapTest, LoadBitmapStretchesOverTheCreatedSurface) {
    const std::string path = tempPath("stretch.bmp");
    writeFile(path, buildBmp8(2, 1, {{0, 0, 0}, {255, 255, 255}}, {1, 0}));
    Surface surface;
    ASSERT_EQ(surface.create(screen.directDraw, 4, 2, SurfaceVideoMemory), 1);
    ASSERT_EQ(surface.loadBitmap(path.c_str(), 0, 0), 1);
    EXPECT_EQ(countLit(surface, 0, 0, 2, 2), 4);
    EXPECT_EQ(countLit(surface, 2, 0, 4, 2), 0);

    // Loaded at 1x1 the bitmap keeps only its first pixel, which then covers the surface.
    surface.fill(0);
    ASSERT_EQ(surface.loadBitmap(path.c_str(), 1, 1), 1);
    EXPECT_EQ(countLit(surface, 0, 0, 4, 2), 8);
    std::remove(path.c_str());
}

TEST_F(BitmapTest, ThereIsNoBitmapByThatNameOrPath) {
    Surface surface;
    ASSERT_EQ(surface.create(screen.directDraw, 8, 8, SurfaceVideoMemory), 1);
    surface.fill(0x1234);
    EXPECT_EQ(surface.loadBitmap(bitmapResource(999), 0, 0), 0);
    EXPECT_EQ(surface.loadBitmap(tempPath("missing.bmp").c_str(), 0, 0), 0);
    EXPECT_EQ(surface.loadBitmap("#999", 0, 0), 0);
    EXPECT_EQ(pixelAt(surface, 3, 3), 0x1234) << "a failed load leaves the surface as it was";

    Surface fresh;
    EXPECT_EQ(fresh.createFromBitmap(screen.directDraw, bitmapResource(999), SurfaceVideoMemory), 0);
    EXPECT_EQ(fresh.surface, nullptr);

    const std::string path = tempPath("good.bmp");
    writeFile(path, buildBmp8(1, 1, {{9, 9, 9}}, {0}));
    EXPECT_EQ(fresh.createFromBitmap(nullptr, path.c_str(), SurfaceVideoMemory), 0)
        << "no surface could be made for the bitmap";
    std::remove(path.c_str());
}

TEST_F(BitmapTest, AMalformedFileIsRefused) {
    const std::string path = tempPath("malformed.bmp");
    std::vector<uint8_t> bytes = buildBmp8(4, 4, {{0, 0, 0}, {255, 0, 0}}, std::vector<uint8_t>(16, 1));
    bytes.resize(bytes.size() - 3);
    writeFile(path, bytes);
    Surface surface;
    EXPECT_EQ(surface.createFromBitmap(screen.directDraw, path.c_str(), SurfaceVideoMemory), 0);
    EXPECT_EQ(surface.surface, nullptr);
    writeFile(path, {});
    EXPECT_EQ(surface.createFromBitmap(screen.directDraw, path.c_str(), SurfaceVideoMemory), 0);
    std::remove(path.c_str());
}

struct Spoil {
    const char* what;
    void (*apply)(std::vector<uint8_t>&);
};

TEST(BmpDecoder, RefusesFilesWhoseSizesOrOffsetsDoNotAddUp) {
    const std::vector<uint8_t> good = buildBmp8(4, 3, {{0, 0, 0}, {255, 0, 0}}, std::vector<uint8_t>(12, 1));
    GfxBitmap* decoded = decodeBmp(good.data(), good.size(), 0, 0);
    ASSERT_NE(decoded, nullptr);
    gfxDeleteBitmap(decoded);

    const Spoil spoils[] = {
        {"magic", [](std::vector<uint8_t>& b) { b[1] = 'X'; }},
        {"truncated pixels", [](std::vector<uint8_t>& b) { b.resize(b.size() - 1); }},
        {"truncated header", [](std::vector<uint8_t>& b) { b.resize(30); }},
        {"header size", [](std::vector<uint8_t>& b) { store32(b, 14, 20); }},
        {"huge header size", [](std::vector<uint8_t>& b) { store32(b, 14, 0xFFFFFFF0u); }},
        {"zero width", [](std::vector<uint8_t>& b) { store32(b, 18, 0); }},
        {"negative width", [](std::vector<uint8_t>& b) { store32(b, 18, static_cast<uint32_t>(-4)); }},
        {"zero height", [](std::vector<uint8_t>& b) { store32(b, 22, 0); }},
        {"most negative height", [](std::vector<uint8_t>& b) { store32(b, 22, 0x80000000u); }},
        {"huge width", [](std::vector<uint8_t>& b) { store32(b, 18, 0x7FFFFFFFu); }},
        {"planes", [](std::vector<uint8_t>& b) { store16(b, 26, 2); }},
        {"depth", [](std::vector<uint8_t>& b) { store16(b, 28, 16); }},
        {"compression", [](std::vector<uint8_t>& b) { store32(b, 30, 1); }},
        {"too many colours", [](std::vector<uint8_t>& b) { store32(b, 46, 257); }},
        {"palette past the pixels", [](std::vector<uint8_t>& b) { store32(b, 46, 200); }},
        {"pixel offset past the end", [](std::vector<uint8_t>& b) { store32(b, 10, 0xFFFFFF00u); }},
        {"pixel offset inside the header", [](std::vector<uint8_t>& b) { store32(b, 10, 20); }},
    };
    for (const Spoil& spoil : spoils) {
        std::vector<uint8_t> bytes = good;
        spoil.apply(bytes);
        GfxBitmap* bitmap = decodeBmp(bytes.data(), bytes.size(), 0, 0);
        EXPECT_EQ(bitmap, nullptr) << spoil.what;
        gfxDeleteBitmap(bitmap);
    }
    EXPECT_EQ(decodeBmp(nullptr, 100, 0, 0), nullptr);
    EXPECT_EQ(decodeBmp(good.data(), good.size(), -1, 0), nullptr);
}

TEST(BmpDecoder, IndicesBeyondThePaletteReadAsBlack) {
    const std::vector<uint8_t> bytes = buildBmp8(2, 1, {{255, 255, 255}}, {0, 7});
    GfxBitmap* bitmap = decodeBmp(bytes.data(), bytes.size(), 0, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->pixels[0], 0xFFFFFFu);
    EXPECT_EQ(bitmap->pixels[1], 0u);
    gfxDeleteBitmap(bitmap);
}

TEST(BmpDecoder, ReadsOneAndFourBitRows) {
    // 1 bit: 10 pixels 1010011111, padded to 4 bytes; 4 bits: 3 pixels 2, 0, 1.
    std::vector<uint8_t> mono = buildBmp8(1, 1, {{0, 0, 0}, {255, 255, 255}}, {0});
    store32(mono, 18, 10);
    store16(mono, 28, 1);
    mono.resize(mono.size() - 4);
    for (uint8_t byte : {0xA7, 0xC0, 0x00, 0x00}) mono.push_back(byte);
    GfxBitmap* bitmap = decodeBmp(mono.data(), mono.size(), 0, 0);
    ASSERT_NE(bitmap, nullptr);
    const int expected[10] = {1, 0, 1, 0, 0, 1, 1, 1, 1, 1};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(bitmap->pixels[x] != 0, expected[x] == 1) << x;
    gfxDeleteBitmap(bitmap);

    std::vector<uint8_t> nibbles = buildBmp8(3, 1, {{0, 0, 0}, {0, 255, 0}, {255, 0, 0}}, {2, 0, 1});
    store16(nibbles, 28, 4);
    nibbles.resize(nibbles.size() - 4);
    for (uint8_t byte : {0x20, 0x10, 0x00, 0x00}) nibbles.push_back(byte);
    bitmap = decodeBmp(nibbles.data(), nibbles.size(), 0, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->pixels[0], 0xFF0000u);
    EXPECT_EQ(bitmap->pixels[1], 0u);
    EXPECT_EQ(bitmap->pixels[2], 0x00FF00u);
    gfxDeleteBitmap(bitmap);
}

TEST_F(BitmapTest, TheLogoResourceIsOpaqueBesideItsBlackBand) {
    ResourceBytes bytes{};
    if (!resourceBitmap(101, &bytes)) GTEST_SKIP() << "no logo bitmap embedded";
    Surface logo;
    ASSERT_EQ(logo.create(screen.directDraw, 640, 480, SurfaceSystemMemory), 1);
    ASSERT_EQ(logo.loadBitmap(bitmapResource(101), 0, 0), 1);
    EXPECT_EQ(countLit(logo, 0, 226, 640, 395), 0) << "the band is transparent";
    EXPECT_GT(countLit(logo, 0, 0, 640, 226), 0);

    // Drawn over a lit screen, only the band lets it through.
    screen.fill(0xFFFF);
    EXPECT_TRUE(logo.blitTo(screen, 0, 0, 640, 480, 0, 0));
    EXPECT_EQ(countLit(screen, 0, 226, 640, 395), 640 * 169);
}

} // namespace
