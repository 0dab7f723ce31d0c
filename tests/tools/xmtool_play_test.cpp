// xmtool play, on SDL's dummy audio driver: it plays the song once through and ends by itself.

#include <gtest/gtest.h>

#include <string>

#include "xmtool_run.h"

namespace {

TEST(XmtoolPlay, PlaysOnceThroughAndEnds) {
    const std::string module = writeModule(shortSong(), "play.xm");
    const XmtoolResult result = runXmtool("play " + module, "SDL_AUDIODRIVER=dummy");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("order"), std::string::npos) << "the status line";
    EXPECT_EQ(runXmtool("play").status, 2);
    EXPECT_EQ(runXmtool("play " + scratchPath("none.xm"), "SDL_AUDIODRIVER=dummy").status, 1);
    EXPECT_EQ(runXmtool("play --help").status, 0);
}

} // namespace
