#include "effects/sine_scroller.h"

#include <gtest/gtest.h>

#include <cstring>

#include "display/display.h"
#include "effects/sine_path.h"

namespace {

TEST(SinePath, RowsAlongTheWave) {
    const struct { int32_t gx, gy; } rows[] = {{0, 300}, {80, 343}, {160, 300}, {240, 256}, {320, 299}};
    for (const auto& r : rows) EXPECT_EQ(waveRow(r.gx, 2.0f, 44.0f, 300), r.gy) << "gx " << r.gx;
}

TEST(SinePath, FirstGlyphEntersTwoColumnsFromTheRightEdge) {
    EXPECT_EQ(glyphColumn(0, 18, 640.0f), 638);
}

TEST(SinePath, DrawnFromOneCellLeftOfTheScreenToTheLastColumn) {
    EXPECT_TRUE(glyphInRange(-18, 18));
    EXPECT_FALSE(glyphInRange(-19, 18));
    EXPECT_TRUE(glyphInRange(639, 18));
    EXPECT_FALSE(glyphInRange(640, 18));
}

// A scroller set up as the intro sets it up, without a font bitmap, with the given text.
void setUpScroller(SineScroller& scroller, const char* text) {
    scroller.initFont(nullptr, nullptr, 18, 18, 16, 6);
    std::strncpy(scroller.text, text, sizeof scroller.text - 1);
    scroller.textLength = static_cast<int32_t>(std::strlen(scroller.text));
    scroller.textWidth = scroller.textLength * scroller.cellWidth - 1;
    scroller.setPath(2.0f, 300, 44.0f, 3);
}

// Draws until the scroller reports finished; returns the number of frames that drew.
int framesUntilFinished(SineScroller& scroller, SurfaceBase& dest) {
    int frames = 0;
    while (frames < 100000) {
        scroller.draw(dest);
        if (scroller.isFinished()) break;
        ++frames;
    }
    return frames;
}

TEST(SineScroller, NineCharactersScrollFor267FramesAndFinishInThe268th) {
    SineScroller scroller;
    Display nowhere;
    setUpScroller(scroller, "QUORVAN!!");
    ASSERT_EQ(scroller.textWidth, 161);
    EXPECT_EQ(framesUntilFinished(scroller, nowhere), 267);
    EXPECT_EQ(scroller.scrollX, -161.0f);
    scroller.draw(nowhere); // stays finished and stays put
    EXPECT_EQ(scroller.isFinished(), 1);
    EXPECT_EQ(scroller.scrollX, -161.0f);

    scroller.restart();
    EXPECT_EQ(scroller.isFinished(), 0);
    EXPECT_EQ(scroller.scrollX, 640.0f);
    EXPECT_EQ(framesUntilFinished(scroller, nowhere), 267);
}

TEST(SineScroller, WithoutTextItFinishesAfter213Frames) {
    SineScroller scroller;
    Display nowhere;
    setUpScroller(scroller, "");
    EXPECT_EQ(scroller.textWidth, -1);
    EXPECT_EQ(framesUntilFinished(scroller, nowhere), 213);
    EXPECT_EQ(scroller.scrollX, 1.0f);
}

TEST(SineScroller, GlyphTablesFollowTheFontGrid) {
    SineScroller scroller;
    scroller.initFont(nullptr, nullptr, 18, 18, 16, 6);
    ASSERT_EQ(scroller.glyphCount, 96);
    EXPECT_EQ(scroller.glyphX[0], 1);
    EXPECT_EQ(scroller.glyphY[0], 1);
    EXPECT_EQ(scroller.glyphX[17], 20);
    EXPECT_EQ(scroller.glyphY[17], 20);
    EXPECT_EQ(scroller.glyphX[95], 1 + 19 * 15);
    EXPECT_EQ(scroller.glyphY[95], 1 + 19 * 5);
    EXPECT_EQ(scroller.scrollX, 640.0f);
}

// A software screen and a font whose every glyph is a solid white block.
class ScrollerOnScreen : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(screen.init(nullptr, 640, 480, 16), 1);
        const GfxRect clip{0, 0, 640, 480};
        screen.setClipList(1, &clip);
        screen.fill(0);
    }
    // Call after setUpScroller, whose initFont finds no font bitmap.
    void makeBlockFont() {
        ASSERT_EQ(scroller.font.create(screen.directDraw, 320, 200, SurfaceVideoMemory), 1);
        scroller.font.fill(0xFFFF);
    }
    void TearDown() override { screen.release(); }

    // The columns of the back buffer that hold any lit pixel, and the topmost lit row of column x.
    std::vector<int> litColumns() {
        std::vector<int> columns;
        const uint8_t* bits = screen.lock();
        for (int x = 0; x < 640; ++x) {
            for (int y = 0; y < 480; ++y) {
                if (reinterpret_cast<const uint16_t*>(bits + screen.pitch * y)[x] != 0) {
                    columns.push_back(x);
                    break;
                }
            }
        }
        screen.unlock();
        return columns;
    }
    int topRow(int x) {
        const uint8_t* bits = screen.lock();
        int top = -1;
        for (int y = 0; y < 480 && top < 0; ++y)
            if (reinterpret_cast<const uint16_t*>(bits + screen.pitch * y)[x] != 0) top = y;
        screen.unlock();
        return top;
    }

    Display screen;
    SineScroller scroller;
};

TEST_F(ScrollerOnScreen, FirstDrawShowsTwoColumnsOfTheFirstGlyphAtTheRightEdge) {
    setUpScroller(scroller, "AB");
    makeBlockFont();
    scroller.draw(screen);
    EXPECT_EQ(litColumns(), (std::vector<int>{638, 639}));
    EXPECT_EQ(topRow(638), waveRow(638, 2.0f, 44.0f, 300));
}

TEST_F(ScrollerOnScreen, CharactersWithoutAGlyphDrawNothing) {
    setUpScroller(scroller, "\x01\x1F\x80\xFF");
    makeBlockFont();
    for (int frame = 0; frame < 60; ++frame) scroller.draw(screen);
    EXPECT_TRUE(litColumns().empty());

    scroller.text[1] = '~'; // one character with a glyph among them
    scroller.restart();
    for (int frame = 0; frame < 60; ++frame) scroller.draw(screen);
    EXPECT_FALSE(litColumns().empty());
}

} // namespace
