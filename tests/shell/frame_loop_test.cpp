#include "shell/frame_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_shell.h"

namespace {

// What the stand-in routines saw; the loop's hooks are plain functions, so this is global.
struct Record {
    int initResult = 1;
    int inits = 0;
    int shutdowns = 0;
    std::vector<uint32_t> frameTicks;
    // Keys pressed when the given number of frames has been rendered.
    std::vector<std::pair<size_t, uint32_t>> keys;
    bool renderedAfterShutdown = false;
    uint32_t passes = 0;
} record;

int fakeInit() {
    ++record.inits;
    return record.initResult;
}

int fakeRender() {
    if (record.shutdowns) record.renderedAfterShutdown = true;
    record.frameTicks.push_back(shellTicks());
    for (const auto& key : record.keys)
        if (key.first == record.frameTicks.size()) headlessPressKey(key.second);
    return 1;
}

int fakeShutdown() {
    ++record.shutdowns;
    return 1;
}

// Each pass of the loop sees the clock one millisecond on; a runaway loop is stopped by Escape.
void tick(void*) {
    headlessAdvanceTicks(1);
    if (++record.passes == 100000) headlessPressKey(KeyEscape);
}

constexpr IntroRoutines fakeRoutines{fakeInit, fakeRender, fakeShutdown};

class FrameLoop : public testing::Test {
  protected:
    void SetUp() override {
        record = Record{};
        headlessResetShell();
        headlessSetPeekHook(tick, nullptr);
    }
};

TEST(FramePacing, DueOnlyAfterMoreThan25Milliseconds) {
    EXPECT_FALSE(frameDue(1025, 1000));
    EXPECT_TRUE(frameDue(1026, 1000));
    EXPECT_FALSE(frameDue(1000, 1000));
    // Across the wrap of the tick count.
    EXPECT_FALSE(frameDue(9, 0xFFFFFFF0u));
    EXPECT_TRUE(frameDue(10, 0xFFFFFFF0u));
}

TEST_F(FrameLoop, FramesEvery26MillisecondsAcrossTheWrap) {
    for (uint32_t start : {0u, 0xFFFFFF00u}) {
        SetUp();
        headlessSetTicks(start);
        record.keys = {{12, KeyEscape}};
        EXPECT_EQ(runIntro(fakeRoutines), 0);
        ASSERT_EQ(record.frameTicks.size(), 12u) << "start " << start;
        for (size_t i = 0; i < record.frameTicks.size(); ++i)
            EXPECT_EQ(record.frameTicks[i], static_cast<uint32_t>(start + 26u * (i + 1)))
                << "frame " << i << " start " << start;
    }
}

TEST_F(FrameLoop, EscapeEndsTheLoopAfterTwoHopsWithOneShutdown) {
    record.keys = {{2, 'A'}, {4, KeyEscape}};
    EXPECT_EQ(runIntro(fakeRoutines), 0);
    EXPECT_EQ(record.inits, 1);
    EXPECT_EQ(record.shutdowns, 1);
    EXPECT_FALSE(record.renderedAfterShutdown);
    // Another key changed nothing; Escape at frame 4 took three passes: the key, destroy, quit.
    EXPECT_EQ(record.frameTicks.size(), 4u);
    EXPECT_EQ(record.passes, 4u * 26u + 3u);
    EXPECT_FALSE(introReady);
}

TEST_F(FrameLoop, FailedInitRendersNoFrameAndStillShutsDown) {
    record.initResult = 0;
    EXPECT_EQ(runIntro(fakeRoutines), 0);
    EXPECT_TRUE(record.frameTicks.empty());
    EXPECT_EQ(record.shutdowns, 1);
    EXPECT_LT(record.passes, 100000u); // ended by its own quit message
}

TEST_F(FrameLoop, NoWindowMeansNoRoutineRuns) {
    headlessFailWindow(true);
    EXPECT_EQ(runIntro(fakeRoutines), 0);
    EXPECT_EQ(record.inits, 0);
    EXPECT_EQ(record.shutdowns, 0);
}

TEST_F(FrameLoop, WindowIsTheIntroWindow) {
    record.keys = {{1, KeyEscape}};
    runIntro(fakeRoutines);
    EXPECT_TRUE(headlessWindowCreated());
}

TEST(WindowProc, OnlyEscapeAndDestroyPostAnything) {
    headlessResetShell();
    ShellMessage taken{};
    EXPECT_EQ(windowProc({ShellMessageKind::KeyDown, 'Q', 0}), MessageResult::Default);
    EXPECT_EQ(windowProc({ShellMessageKind::Paint, 0, 0}), MessageResult::Handled);
    EXPECT_EQ(windowProc({ShellMessageKind::Create, 0, 0}), MessageResult::Handled);
    EXPECT_FALSE(shellPeekMessage(&taken));

    EXPECT_EQ(windowProc({ShellMessageKind::KeyDown, KeyEscape, 0}), MessageResult::Default);
    ASSERT_TRUE(shellPeekMessage(&taken));
    EXPECT_EQ(taken.kind, ShellMessageKind::Destroy);
    EXPECT_EQ(windowProc(taken), MessageResult::Handled);
    ASSERT_TRUE(shellPeekMessage(&taken));
    EXPECT_EQ(taken.kind, ShellMessageKind::Quit);
    EXPECT_EQ(taken.exitCode, 0);
}

} // namespace
