#include <gtest/gtest.h>

#include <cstring>

#include "display/surface.h"
#include "tests/display/bmp_builder.h"

namespace {

using SurfaceTest = HeadlessDisplayTest;

// A 17x17 glyph-sized surface filled with one colour.
void makeSolid(Display& screen, Surface& surface, uint32_t colour) {
    ASSERT_EQ(surface.create(screen.directDraw, 17, 17, SurfaceVideoMemory), 1);
    surface.fill(colour);
}

TEST_F(SurfaceTest, LockTwiceGivesTheSamePointerAndOneUnlockEndsIt) {
    Surface surface;
    ASSERT_EQ(surface.create(screen.directDraw, 32, 8, SurfaceSystemMemory), 1);
    EXPECT_EQ(surface.unlock(), 0) << "nothing locked yet";

    uint8_t* first = surface.lock();
    ASSERT_NE(first, nullptr);
    EXPECT_GE(surface.pitch, 64);
    EXPECT_EQ(surface.lock(), first);
    EXPECT_EQ(surface.lockedBits, first);

    EXPECT_EQ(surface.unlock(), 1);
    EXPECT_EQ(surface.lockedBits, nullptr);
    EXPECT_EQ(surface.pitch, 0);
    EXPECT_EQ(surface.unlock(), 0);
}

TEST_F(SurfaceTest, CreateTakesTheDisplayDepthAndSize) {
    Surface surface;
    ASSERT_EQ(surface.create(screen.directDraw, 306, 20, SurfaceVideoMemory), 1);
    EXPECT_EQ(surface.width, 306);
    EXPECT_EQ(surface.height, 20);
    EXPECT_EQ(surface.bitsPerPixel, 16);
    EXPECT_EQ(surface.palette, nullptr);
}

TEST_F(SurfaceTest, CreateFailsWithoutDeviceOrWithImpossibleSize) {
    Surface noDevice, empty, negative;
    EXPECT_EQ(noDevice.create(nullptr, 10, 10, SurfaceVideoMemory), 0);
    EXPECT_EQ(empty.create(screen.directDraw, 0, 10, SurfaceVideoMemory), 0);
    EXPECT_EQ(negative.create(screen.directDraw, 10, -1, SurfaceVideoMemory), 0);
    EXPECT_EQ(negative.surface, nullptr);
}

TEST_F(SurfaceTest, AnUncreatedSurfaceDoesNothingAndReportsFailure) {
    Surface never;
    EXPECT_EQ(never.lock(), nullptr);
    EXPECT_EQ(never.unlock(), 0);
    EXPECT_EQ(never.fill(0xFFFF), 0);
    EXPECT_FALSE(never.blitTo(screen, 0, 0, 10, 10, 0, 0));
    EXPECT_EQ(never.drawBitmap(nullptr, 0, 0, 0, 0), 0);
    EXPECT_EQ(never.loadBitmap(bitmapResource(101), 0, 0), 0);

    Surface solid;
    makeSolid(screen, solid, 0xFFFF);
    EXPECT_FALSE(solid.blitTo(never, 0, 0, 10, 10, 0, 0)) << "destination without a surface";
}

TEST(PutPixel16, WritesExactlyTheTwoBytesAtPitchTimesYPlusTwiceX) {
    uint8_t memory[5 * 21];
    std::memset(memory, 0x5A, sizeof memory);
    EXPECT_EQ(putPixel16(memory, 21, 3, 2, 0xBEEF), 1); // an odd pitch leaves the pixel unaligned
    const int at = 21 * 2 + 2 * 3;
    for (int i = 0; i < static_cast<int>(sizeof memory); ++i) {
        if (i == at || i == at + 1) continue;
        ASSERT_EQ(memory[i], 0x5A) << "byte " << i;
    }
    uint16_t stored;
    std::memcpy(&stored, memory + at, 2);
    EXPECT_EQ(stored, 0xBEEF);
}

TEST_F(SurfaceTest, PixelsOfValueZeroAreNeverCopied) {
    screen.fill(0x1234);
    Surface cleared;
    makeSolid(screen, cleared, 0);
    EXPECT_TRUE(cleared.blitTo(screen, 100, 100, 17, 17, 0, 0));
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), 640 * 480);
    EXPECT_EQ(pixelAt(screen, 108, 108), 0x1234);

    // A lone star on a black layer: only the star arrives.
    Surface layer;
    makeSolid(screen, layer, 0);
    uint8_t* bits = layer.lock();
    ASSERT_NE(bits, nullptr);
    putPixel16(bits, layer.pitch, 4, 5, 0xFFFF);
    layer.unlock();
    screen.fill(0);
    EXPECT_TRUE(layer.blitTo(screen, 200, 227, 17, 17, 0, 0));
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), 1);
    EXPECT_EQ(pixelAt(screen, 204, 232), 0xFFFF);
}

TEST_F(SurfaceTest, BlitCopiesTheSourceRectangleOneToOne) {
    Surface source;
    ASSERT_EQ(source.create(screen.directDraw, 40, 20, SurfaceVideoMemory), 1);
    uint8_t* bits = source.lock();
    ASSERT_NE(bits, nullptr);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            putPixel16(bits, source.pitch, x, y, static_cast<uint16_t>(1 + y * 40 + x));
    source.unlock();

    EXPECT_TRUE(source.blitTo(screen, 300, 200, 5, 3, 20, 10));
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), 15);
    EXPECT_EQ(pixelAt(screen, 300, 200), 1 + 10 * 40 + 20);
    EXPECT_EQ(pixelAt(screen, 304, 202), 1 + 12 * 40 + 24);
}

struct EdgeBlit {
    int32_t x, y;
    int32_t litColumns, litRows; // of the 17x17 solid glyph that reach the screen
};

class ClippedBlitTest : public HeadlessDisplayTest, public ::testing::WithParamInterface<EdgeBlit> {};

TEST_P(ClippedBlitTest, TheClipListCutsTheRectangleToTheScreen) {
    const EdgeBlit c = GetParam();
    Surface glyph;
    makeSolid(screen, glyph, 0xF800);
    EXPECT_TRUE(glyph.blitTo(screen, c.x, c.y, 17, 17, 0, 0)) << "clipped blits are no error";
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), c.litColumns * c.litRows);
    if (c.litColumns * c.litRows > 0) {
        const int32_t left = c.x < 0 ? 0 : c.x, top = c.y < 0 ? 0 : c.y;
        EXPECT_EQ(countLit(screen, left, top, left + c.litColumns, top + c.litRows),
                  c.litColumns * c.litRows);
    }
}

INSTANTIATE_TEST_SUITE_P(Edges, ClippedBlitTest,
                         ::testing::Values(EdgeBlit{-18, 300, 0, 0},   // wholly off to the left
                                           EdgeBlit{-17, 300, 0, 0},   // right edge exclusive
                                           EdgeBlit{-16, 300, 1, 17},  // one column left
                                           EdgeBlit{630, 300, 10, 17}, // its left ten columns
                                           EdgeBlit{640, 300, 0, 0},   // wholly off to the right
                                           EdgeBlit{100, -10, 17, 7},  // above the top
                                           EdgeBlit{100, 470, 17, 10}, // below the bottom
                                           EdgeBlit{635, 475, 5, 5},   // a corner
                                           EdgeBlit{100, 100, 17, 17}));

TEST_F(SurfaceTest, WithoutAClipListAnEdgeBlitIsRefusedAndDrawsNothing) {
    Display bare;
    ASSERT_EQ(bare.init(nullptr, 640, 480, 16), 1);
    Surface glyph;
    makeSolid(bare, glyph, 0xF800);
    EXPECT_FALSE(glyph.blitTo(bare, 630, 300, 17, 17, 0, 0));
    EXPECT_EQ(countLit(bare, 0, 0, 640, 480), 0);
    EXPECT_TRUE(glyph.blitTo(bare, 600, 300, 17, 17, 0, 0));
    bare.release();
}

TEST_F(SurfaceTest, ASourceRectangleBeyondTheSourceIsRefused) {
    Surface glyph;
    makeSolid(screen, glyph, 0xF800);
    EXPECT_FALSE(glyph.blitTo(screen, 10, 10, 17, 17, 1, 0));
    EXPECT_FALSE(glyph.blitTo(screen, 10, 10, 0, 17, 0, 0));
    EXPECT_FALSE(glyph.blitTo(screen, 10, 10, -5, 17, 0, 0));
    EXPECT_FALSE(glyph.blitTo(screen, INT32_MAX, 10, 17, 17, 0, 0)) << "the right edge would overflow";
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), 0);
}

TEST_F(SurfaceTest, ALockedSurfaceNeitherBlitsNorFills) {
    Surface glyph;
    makeSolid(screen, glyph, 0xF800);
    ASSERT_NE(glyph.lock(), nullptr);
    EXPECT_FALSE(glyph.blitTo(screen, 10, 10, 17, 17, 0, 0));
    glyph.fill(0);
    glyph.unlock();
    EXPECT_EQ(pixelAt(glyph, 0, 0), 0xF800);
}

TEST(RampPalette, FourRampsOfSixtyFourEntries) {
    PaletteEntry p[256];
    rampPalette(p);
    for (int i : {0, 64, 128, 192}) {
        EXPECT_EQ(p[i].red, 0) << i;
        EXPECT_EQ(p[i].green, 0) << i;
        EXPECT_EQ(p[i].blue, 0) << i;
    }
    auto rgb = [&](int i) { return std::vector<int>{p[i].red, p[i].green, p[i].blue}; };
    EXPECT_EQ(rgb(63), (std::vector<int>{252, 0, 0}));
    EXPECT_EQ(rgb(127), (std::vector<int>{0, 252, 0}));
    EXPECT_EQ(rgb(191), (std::vector<int>{0, 0, 252}));
    EXPECT_EQ(rgb(255), (std::vector<int>{252, 252, 252}));
    EXPECT_EQ(rgb(100), (std::vector<int>{0, 144, 0}));
    for (const PaletteEntry& e : p) EXPECT_EQ(e.flags, PaletteNoCollapse);
}

TEST(EightBitDisplay, SurfacesGetTheRampPaletteAndBitmapsMapOntoIt) {
    Display screen;
    ASSERT_EQ(screen.init(nullptr, 320, 200, 8), 1);
    EXPECT_NE(screen.palette, nullptr);
    Surface surface;
    ASSERT_EQ(surface.create(screen.directDraw, 4, 1, SurfaceVideoMemory), 1);
    EXPECT_EQ(surface.bitsPerPixel, 8);
    ASSERT_NE(surface.palette, nullptr);
    EXPECT_EQ(surface.paletteEntries[63].red, 252);
    EXPECT_EQ(surface.paletteEntries[191].blue, 252);

    const std::string path = tempPath("eight_bit.bmp");
    writeFile(path, buildBmp8(4, 1, {{0, 0, 0}, {252, 0, 0}, {1, 1, 1}, {0, 0, 250}}, {0, 1, 2, 3}));
    ASSERT_EQ(surface.loadBitmap(path.c_str(), 0, 0), 1);
    uint8_t* bits = surface.lock();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits[0], 0) << "black stays transparent";
    EXPECT_EQ(bits[1], 63);
    EXPECT_NE(bits[2], 0) << "near-black is not transparent";
    EXPECT_EQ(bits[3], 190);
    surface.unlock();
    std::remove(path.c_str());

    screen.release();
    // The surface's palette went with the device; its destructor must not touch it again.
}

} // namespace
