#include "shell/credit_glide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct GlideCase {
    int32_t width;
    int frames;
    int lastX;
    float lowestSpeed;
};

class CreditGlide : public testing::TestWithParam<GlideCase> {};

TEST_P(CreditGlide, LastsItsFramesAndEndsWhereExpected) {
    const GlideCase& c = GetParam();
    float pos = GlideStartPos;
    float speed = GlideStartSpeed;
    int frames = 0;
    int lastX = 0;
    float lowest = speed;
    bool gone = false;
    while (!gone && frames < 1000) {
        lastX = static_cast<int>(pos); // drawn here
        ++frames;
        gone = glideStep(pos, speed, c.width);
        lowest = std::fmin(lowest, speed);
    }
    EXPECT_EQ(frames, c.frames);
    EXPECT_EQ(lastX, c.lastX);
    EXPECT_NEAR(lowest, c.lowestSpeed, 0.005f);
    EXPECT_GT(lowest, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(FourLines, CreditGlide,
                         testing::Values(GlideCase{306, 218, -300, 2.139f}, GlideCase{204, 181, -198, 2.832f},
                                         GlideCase{179, 174, -176, 2.964f},
                                         GlideCase{356, 241, -352, 1.710f}),
                         [](const testing::TestParamInfo<GlideCase>& info) {
                             return "Width" + std::to_string(info.param.width);
                         });

TEST(CreditGlideStep, FirstPositionsAre640Then634Then628) {
    float pos = GlideStartPos;
    float speed = GlideStartSpeed;
    int drawn[3];
    for (int& x : drawn) {
        x = static_cast<int>(pos);
        glideStep(pos, speed, 306);
    }
    EXPECT_EQ(drawn[0], 640);
    EXPECT_EQ(drawn[1], 634);
    EXPECT_EQ(drawn[2], 628);
}

TEST(CreditGlideStep, CentreExactlyAtMiddleAccelerates) {
    float pos = 167.0f; // 167 + 306 / 2 = 320
    float speed = 3.0f;
    glideStep(pos, speed, 306);
    EXPECT_FLOAT_EQ(speed, 3.05f);
    EXPECT_FLOAT_EQ(pos, 167.0f - 3.05f);

    pos = 168.0f; // one to the right of the middle: slows down
    speed = 3.0f;
    glideStep(pos, speed, 306);
    EXPECT_FLOAT_EQ(speed, 2.967f);
}

TEST(CreditGlideStep, ExitTestUsesTheUnroundedPosition) {
    // A speed one step above 6 takes the line from -300 to just below -306, which stores as -306.0f.
    const float wanted = std::nextafter(6.0f, 7.0f);
    float speed = static_cast<float>(static_cast<double>(wanted) - static_cast<double>(0.05f));
    ASSERT_EQ(static_cast<float>(static_cast<double>(speed) + static_cast<double>(0.05f)), wanted);
    float pos = -300.0f;
    EXPECT_TRUE(glideStep(pos, speed, 306));
    EXPECT_EQ(pos, -306.0f);
}

} // namespace
