#include "shell/intro.h"

#include <gtest/gtest.h>

#include "audio/audio_output.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/headless_shell.h"
#include "shell/music_startup.h"
#include "shell/scene.h"

namespace {

TEST(Intro, SetsUpRendersAndTearsDownOnTheHeadlessPlatform) {
    headlessResetShell();
    ASSERT_EQ(initIntro(), 1);
    EXPECT_FALSE(headlessCursorVisible());
    EXPECT_NE(song, nullptr) << "the embedded tune loads";
    EXPECT_EQ(audioOutput.mixingRate, 44100);
    EXPECT_NE(audioOutput.voicePool, nullptr);

    const uint32_t before = headlessFrameCount();
    EXPECT_EQ(renderFrame(), 1);
    EXPECT_EQ(renderFrame(), 1);
    EXPECT_EQ(headlessFrameCount(), before + 2);

    EXPECT_EQ(shutdownIntro(), 1);
    EXPECT_EQ(song, nullptr);
    EXPECT_EQ(audioOutput.voicePool, nullptr);
    EXPECT_EQ(screen.directDraw, nullptr);
}

TEST(Intro, MusicStoppedAtOnceAndTwiceEndsCleanly) {
    ASSERT_EQ(startMusic(), 1);
    stopMusic();
    stopMusic();
    EXPECT_EQ(song, nullptr);
    EXPECT_EQ(audioOutput.outputBuffer, nullptr);
}

} // namespace
