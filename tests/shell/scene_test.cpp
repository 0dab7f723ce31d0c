#include "shell/scene.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/resources.h"
#include "shell/config.h"
#include "shell/credit_glide.h"

namespace {

class SceneFrames : public testing::Test {
  protected:
    // Frames the scroller state lasts with the shipped text: it draws while any of the text is
    // left of x = 640 + its width, and reports finished in one more frame.
    static int scrollerFrames() {
        char text[ScrollTextCapacity] = {};
        resourceString(ScrollTextString, text, sizeof text);
        const int width = static_cast<int>(std::strlen(text)) * 18 - 1;
        return (ScreenWidth + width + 2) / 3 + 1;
    }

    struct FrameRecord {
        int32_t state;
        int32_t drawnAt; // credit frames: where the line was drawn
    };

    FrameRecord frame() {
        screen.fill(0);
        const FrameRecord record{sceneState, static_cast<int32_t>(glidePos)};
        EXPECT_EQ(drawScene(), 1);
        return record;
    }
};

// The scene's sequence without a display: every blit fails at once, the timing is the same.
class SceneSequence : public SceneFrames {
  protected:
    void SetUp() override {
        sceneState = StateScroller;
        credit1.create(nullptr, 306, 20, SurfaceVideoMemory); // keeps the width, though it fails
        credit2.create(nullptr, 204, 20, SurfaceVideoMemory);
        credit3.create(nullptr, 179, 20, SurfaceVideoMemory);
        credit4.create(nullptr, 356, 20, SurfaceVideoMemory);
        starfield.init(nullptr, 300, 640, 188);
        scroller.initFont(nullptr, bitmapResource(102), 18, 18, 16, 6);
        scroller.loadText(nullptr);
        scroller.setPath(2.0f, 300, 44.0f, 3);
    }
};

TEST_F(SceneSequence, OneCycleIsTheScrollerThenTheFourCreditLines) {
    ASSERT_GT(scroller.textLength, 0) << "the program has a scroll text";
    const int scrollerLength = scrollerFrames();
    std::vector<FrameRecord> frames;
    for (int i = 0; i < scrollerLength + 218 + 181 + 174 + 241; ++i) frames.push_back(frame());

    const struct {
        int32_t state;
        int length;
        int lastX;
    } runs[] = {{StateScroller, scrollerLength, 0},
                {StateCredit1, 218, -300},
                {StateCredit2, 181, -198},
                {StateCredit3, 174, -176},
                {StateCredit4, 241, -352}};
    size_t at = 0;
    for (const auto& run : runs) {
        for (int i = 0; i < run.length; ++i, ++at) ASSERT_EQ(frames[at].state, run.state) << "frame " << at;
        if (run.state != StateScroller) {
            EXPECT_EQ(frames[at - run.length].drawnAt, 640) << "state " << run.state;
            EXPECT_EQ(frames[at - run.length + 1].drawnAt, 634) << "state " << run.state;
            EXPECT_EQ(frames[at - 1].drawnAt, run.lastX) << "state " << run.state;
        }
    }
    for (const auto& run : runs) EXPECT_EQ(sceneStateFrames(run.state), run.length) << "state " << run.state;
    EXPECT_EQ(sceneStateFrames(0), 0);
    // The cycle starts over with the scroller back at the right edge.
    EXPECT_EQ(sceneState, StateScroller);
    EXPECT_EQ(scroller.scrollX, 640.0f);
    EXPECT_EQ(scroller.isFinished(), 0);
}

// The scene on the headless display with the program's own resources.
class Scene : public SceneFrames {
  protected:
    void SetUp() override {
        ASSERT_EQ(screen.init(nullptr, ScreenWidth, ScreenHeight, ScreenDepth), 1);
        const GfxRect wholeScreen{0, 0, ScreenWidth, ScreenHeight};
        screen.setClipList(1, &wholeScreen);
        ASSERT_EQ(initScene(), 1);
    }
    void TearDown() override { screen.release(); }
};

struct Pixel {
    int x, y;
};

// Lit pixels in the logo's transparent band (rows 227 to 394) that are not stars of this frame.
std::vector<Pixel> strayPixelsInBand() {
    std::vector<bool> starAt(ScreenWidth * ScreenHeight, false);
    for (int i = 0; i < starfield.starCount; ++i) {
        const Star& s = starfield.stars[i];
        if (s.starClass != HiddenStarClass && s.y < 170) starAt[(227 + s.y) * ScreenWidth + s.x] = true;
    }
    std::vector<Pixel> stray;
    const uint8_t* bits = screen.lock();
    for (int y = 227; y < 395; ++y) {
        const uint16_t* row = reinterpret_cast<const uint16_t*>(bits + screen.pitch * y);
        for (int x = 0; x < ScreenWidth; ++x)
            if (row[x] != 0 && !starAt[y * ScreenWidth + x]) stray.push_back({x, y});
    }
    screen.unlock();
    return stray;
}

TEST_F(Scene, FirstFrameShowsTheLogoTheStarsAndAtMostTheEdgeOfTheFirstGlyph) {
    frame();
    const uint8_t* bits = screen.lock();
    int logoPixels = 0;
    for (int y = 0; y < 226; ++y)
        for (int x = 0; x < ScreenWidth; ++x)
            logoPixels += reinterpret_cast<const uint16_t*>(bits + screen.pitch * y)[x] != 0;
    screen.unlock();
    EXPECT_GT(logoPixels, ScreenWidth * 100);
    for (const Pixel& p : strayPixelsInBand()) EXPECT_GE(p.x, 638) << p.x << "," << p.y;
}

TEST_F(Scene, TheFrameThatFinishesTheScrollerShowsOnlyStarsThenTheCreditLineComesIn) {
    scroller.scrollX = static_cast<float>(-scroller.textWidth + 9); // three frames before the end
    while (sceneState == StateScroller) frame();
    // drawScene restarts the scroller in the frame that finds it finished; that frame drew no text.
    EXPECT_EQ(sceneState, StateCredit1);
    EXPECT_TRUE(strayPixelsInBand().empty());
    // From then on, anything in the band besides the stars is the credit line, in its rows and right
    // of where it was drawn (the first time at x = 640, wholly off screen).
    int framesShowingTheLine = 0;
    for (int i = 0; i < 60; ++i) {
        const FrameRecord drawn = frame();
        ASSERT_EQ(drawn.state, StateCredit1);
        const std::vector<Pixel> stray = strayPixelsInBand();
        framesShowingTheLine += !stray.empty();
        for (const Pixel& p : stray) {
            ASSERT_GE(p.x, drawn.drawnAt);
            ASSERT_GE(p.y, 288);
            ASSERT_LT(p.y, 308);
        }
    }
    EXPECT_GT(framesShowingTheLine, 30);
}

} // namespace
