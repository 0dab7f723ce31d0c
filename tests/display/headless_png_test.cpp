#include <gtest/gtest.h>

#include <cstdio>

#include "display/surface.h"
#include "platform/headless/headless_display.h"
#include "tests/display/bmp_builder.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

using HeadlessPngTest = HeadlessDisplayTest;

TEST_F(HeadlessPngTest, APresentedFrameIsWrittenAsThePngOfWhatWasDrawn) {
    Surface block;
    ASSERT_EQ(block.create(screen.directDraw, 100, 50, SurfaceVideoMemory), 1);
    block.fill(0xF800);                                        // red
    screen.fill(0x001F);                                       // blue
    EXPECT_TRUE(block.blitTo(screen, 600, 20, 100, 50, 0, 0)); // cut at the right edge
    ASSERT_EQ(screen.present(), 1);

    const std::string path = tempPath("frame.png");
    ASSERT_TRUE(headlessWritePng(path.c_str()));
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load(path.c_str(), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    auto at = [&](int x, int y) {
        const unsigned char* p = rgb + 3 * (y * width + x);
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(0, 0), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(at(639, 20), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(at(600, 69), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(at(599, 20), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(at(600, 70), (std::vector<int>{0, 0, 255}));
    stbi_image_free(rgb);
    std::remove(path.c_str());
}

TEST(HeadlessPng, NoFileForAnUnwritablePath) {
    Display screen;
    ASSERT_EQ(screen.init(nullptr, 640, 480, 16), 1);
    EXPECT_FALSE(headlessWritePng("/nonexistent-dir/frame.png"));
    screen.present();
    EXPECT_FALSE(headlessWritePng("/nonexistent-dir/frame.png"));
    screen.release();
}

} // namespace
