#include "effects/starfield.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/display.h"

namespace {

TEST(Starfield, PlacesTheSameStarsEveryRun) {
    Starfield field;
    field.init(nullptr, 300, 640, 188); // no device: the stars are placed all the same
    ASSERT_EQ(field.starCount, 300);
    const Star first[5] = {{41, 43, 4}, {260, 181, 4}, {598, 30, 2}, {144, 65, 0}, {241, 95, 1}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(field.stars[i].x, first[i].x) << i;
        EXPECT_EQ(field.stars[i].y, first[i].y) << i;
        EXPECT_EQ(field.stars[i].starClass, first[i].starClass) << i;
    }
    int classes[StarClassCount] = {};
    for (int i = 0; i < field.starCount; ++i) {
        const Star& s = field.stars[i];
        ASSERT_TRUE(s.x >= 0 && s.x < 640 && s.y >= 0 && s.y < 188);
        ++classes[s.starClass];
    }
    EXPECT_EQ(classes[0], 67);
    EXPECT_EQ(classes[1], 60);
    EXPECT_EQ(classes[2], 62);
    EXPECT_EQ(classes[3], 59);
    EXPECT_EQ(classes[4], 52);
}

TEST(Starfield, StarsWrapAtTheRightEdgeAndHiddenOnesStay) {
    struct Case {
        int32_t starClass, x, after;
    } cases[] = {{3, 639, 0}, {0, 637, 0}, {0, 635, 639}, {1, 636, 639}, {1, 637, 0},
                 {2, 638, 0}, {2, 10, 12}, {4, 639, 639}, {4, 5, 5}};
    Starfield field;
    field.init(nullptr, 9, 640, 188);
    for (int i = 0; i < 9; ++i) field.stars[i] = Star{cases[i].x, 7, cases[i].starClass};
    field.move();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(field.stars[i].x, cases[i].after)
            << "class " << cases[i].starClass << " from " << cases[i].x;
        EXPECT_EQ(field.stars[i].y, 7);
    }
}

TEST(Starfield, EmptyLayerPlacesNoStars) {
    Starfield field;
    EXPECT_EQ(field.init(nullptr, 300, 0, 188), 1);
    EXPECT_EQ(field.starCount, 0);
    EXPECT_EQ(field.move(), 1);
}

// Counts the pixels of a surface that differ from expected (row by row, width values a row).
int countMismatches(SurfaceBase& surface, const std::vector<uint16_t>& expected) {
    const uint8_t* bits = surface.lock();
    if (bits == nullptr) return -1;
    int mismatches = 0;
    for (int y = 0; y < surface.height; ++y) {
        const uint16_t* row = reinterpret_cast<const uint16_t*>(bits + surface.pitch * y);
        for (int x = 0; x < surface.width; ++x) mismatches += row[x] != expected[y * surface.width + x];
    }
    surface.unlock();
    return mismatches;
}

// Draws a few frames onto the software display and checks every pixel of the back buffer.
TEST(Starfield, DrawShowsExactlyTheVisibleStarsInTheBandAndClearsTheLayer) {
    Display screen;
    ASSERT_EQ(screen.init(nullptr, 640, 480, 16), 1);
    const GfxRect clip{0, 0, 640, 480};
    screen.setClipList(1, &clip);
    Starfield field;
    field.init(screen.directDraw, 300, 640, 188);
    for (int frame = 0; frame < 3; ++frame) {
        screen.fill(0);
        field.move();
        EXPECT_EQ(field.draw(screen, 0, 227, 640, 170, 0, 0), 1);

        std::vector<uint16_t> expected(640 * 480, 0);
        for (int i = 0; i < field.starCount; ++i) {
            const Star& s = field.stars[i];
            if (s.starClass != HiddenStarClass && s.y < 170)
                expected[(227 + s.y) * 640 + s.x] = StarColours[s.starClass];
        }
        EXPECT_EQ(countMismatches(screen, expected), 0) << "frame " << frame;
        EXPECT_EQ(countMismatches(field.layer, std::vector<uint16_t>(640 * 188, 0)), 0) << "frame " << frame;
    }
    screen.release();
}

} // namespace
