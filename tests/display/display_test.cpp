#include <gtest/gtest.h>

#include "display/surface.h"
#include "platform/headless/headless_display.h"
#include "platform/soft/soft_graphics.h"
#include "tests/display/bmp_builder.h"

namespace {

using DisplayTest = HeadlessDisplayTest;

TEST(DisplayInit, BothBuffersAreBlackRightAfterInit) {
    Display screen;
    ASSERT_EQ(screen.init(nullptr, 640, 480, 16), 1);
    ASSERT_NE(screen.directDraw, nullptr);
    ASSERT_NE(screen.primary, nullptr);
    ASSERT_NE(screen.surface, nullptr);
    EXPECT_NE(screen.surface, screen.primary);
    EXPECT_EQ(screen.width, 640);
    EXPECT_EQ(screen.height, 480);
    EXPECT_EQ(screen.bitsPerPixel, 16);
    EXPECT_EQ(screen.clipper, nullptr);

    for (GfxSurface* buffer : {screen.primary, screen.surface}) {
        GfxSurfaceDesc desc{};
        ASSERT_TRUE(gfxLock(buffer, &desc));
        ASSERT_EQ(desc.width, 640u);
        ASSERT_EQ(desc.height, 480u);
        size_t lit = 0;
        for (uint32_t y = 0; y < desc.height; ++y)
            for (uint32_t x = 0; x < 2 * desc.width; ++x) lit += desc.bits[y * desc.pitch + x] != 0;
        EXPECT_EQ(lit, 0u);
        gfxUnlock(buffer);
    }
    screen.release();
}

TEST(DisplayInit, ARefusedModeFailsAndLeavesNothingBehind) {
    for (int32_t depth : {24, 32, 0}) {
        Display screen;
        EXPECT_EQ(screen.init(nullptr, 640, 480, depth), 0) << depth;
        EXPECT_EQ(screen.directDraw, nullptr);
        EXPECT_EQ(screen.primary, nullptr);
        EXPECT_EQ(screen.surface, nullptr);
        EXPECT_EQ(screen.present(), 0);
        EXPECT_EQ(screen.fill(0), 0);
        EXPECT_EQ(screen.setClipList(0, nullptr), 0);
        EXPECT_EQ(screen.release(), 1);
    }
    Display tiny;
    EXPECT_EQ(tiny.init(nullptr, 0, 480, 16), 0);
}

TEST_F(DisplayTest, PresentRefusesWhileTheBackBufferIsLocked) {
    screen.fill(0x07E0);
    const uint32_t before = headlessFrameCount();
    ASSERT_NE(screen.lock(), nullptr);
    EXPECT_EQ(screen.present(), 0);
    EXPECT_EQ(headlessFrameCount(), before) << "nothing flipped";
    screen.unlock();
    EXPECT_EQ(screen.present(), 1);
    EXPECT_EQ(headlessFrameCount(), before + 1);
}

TEST_F(DisplayTest, PresentShowsTheBackBufferAndSwapsTheBuffers) {
    screen.fill(0x001F);
    ASSERT_EQ(screen.present(), 1);
    int32_t width = 0, height = 0;
    const uint16_t* frame = headlessLastFrame(&width, &height);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(width, 640);
    ASSERT_EQ(height, 480);
    EXPECT_EQ(frame[0], 0x001F);
    EXPECT_EQ(frame[640 * 480 - 1], 0x001F);
    EXPECT_EQ(pixelAt(screen, 0, 0), 0) << "the back buffer is now the former front buffer";

    screen.fill(0xF800);
    ASSERT_EQ(screen.present(), 1);
    EXPECT_EQ(headlessLastFrame(nullptr, nullptr)[320 * 240], 0xF800);
    EXPECT_EQ(pixelAt(screen, 5, 5), 0x001F);
}

TEST_F(DisplayTest, TheClipRegionBoundsItsRectangles) {
    ASSERT_NE(screen.clipper, nullptr);
    const GfxRect& bound = screen.clipper->bound;
    EXPECT_EQ(bound.left, 0);
    EXPECT_EQ(bound.top, 0);
    EXPECT_EQ(bound.right, 640);
    EXPECT_EQ(bound.bottom, 480);
    EXPECT_EQ(screen.clipper->count, 1u);

    const GfxRect two[] = {{10, 300, 200, 310}, {150, 20, 120, 400}};
    ASSERT_EQ(screen.setClipList(2, two), 1);
    EXPECT_EQ(screen.clipper->bound.left, 10);
    EXPECT_EQ(screen.clipper->bound.top, 20);
    EXPECT_EQ(screen.clipper->bound.right, 200);
    EXPECT_EQ(screen.clipper->bound.bottom, 400);

    ASSERT_EQ(screen.setClipList(0, nullptr), 1) << "an empty region clips everything away";
    EXPECT_EQ(screen.clipper->bound.left, 64000);
    EXPECT_EQ(screen.clipper->bound.right, -64000);
    Surface glyph;
    ASSERT_EQ(glyph.create(screen.directDraw, 17, 17, SurfaceVideoMemory), 1);
    glyph.fill(0xFFFF);
    EXPECT_TRUE(glyph.blitTo(screen, 100, 100, 17, 17, 0, 0));
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), 0);
}

TEST_F(DisplayTest, EveryClipRectangleLetsItsPartThrough) {
    const GfxRect halves[] = {{0, 0, 105, 480}, {110, 0, 640, 480}};
    ASSERT_EQ(screen.setClipList(2, halves), 1);
    Surface glyph;
    ASSERT_EQ(glyph.create(screen.directDraw, 17, 17, SurfaceVideoMemory), 1);
    glyph.fill(0xFFFF);
    EXPECT_TRUE(glyph.blitTo(screen, 100, 100, 17, 17, 0, 0));
    EXPECT_EQ(countLit(screen, 0, 0, 640, 480), 12 * 17);
    EXPECT_EQ(countLit(screen, 105, 100, 110, 117), 0);
}

TEST_F(DisplayTest, ABadClipListIsRefused) {
    EXPECT_EQ(screen.setClipList(-1, nullptr), 0);
    EXPECT_EQ(screen.setClipList(2, nullptr), 0);
}

TEST_F(DisplayTest, ReleaseForgetsEverything) {
    EXPECT_EQ(screen.release(), 1);
    EXPECT_EQ(screen.directDraw, nullptr);
    EXPECT_EQ(screen.primary, nullptr);
    EXPECT_EQ(screen.surface, nullptr);
    EXPECT_EQ(screen.clipper, nullptr);
    EXPECT_EQ(screen.lockedBits, nullptr);
    EXPECT_EQ(screen.present(), 0);
    EXPECT_EQ(screen.release(), 1) << "twice is harmless";
}

} // namespace
