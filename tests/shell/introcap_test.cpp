#include <gtest/gtest.h>

#include "tools/introcap/capture_options.h"
#include "tools/introcap/capture_run.h"

namespace {

bool parse(std::initializer_list<const char*> args, CaptureOptions* options, std::string* error) {
    std::vector<const char*> argv(args);
    return parseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(IntrocapOptions, RefusesWhatMakesNoRun) {
    const std::vector<std::vector<const char*>> bad = {
        {"--out", "d"},                    // no frames
        {"--frames", "10"},                // no directory
        {"--frames", "-1", "--out", "d"},  // negative
        {"--frames", "ten", "--out", "d"}, // not a number
        {"--frames", "10", "--shot", "3,", "--out", "d"},
        {"--frames", "10", "--out", "d", "--loud"},
        {"--frames", "10", "--out"},
    };
    for (const auto& args : bad) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(parseCaptureOptions(static_cast<int>(args.size()), args.data(), &options, &error))
            << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(IntrocapOptions, PlansShots) {
    const int32_t cycle[CycleParts] = {500, 218, 181, 174, 241};
    CaptureOptions options;
    std::string error;

    ASSERT_TRUE(parse({"--frames", "20", "--shot", "20,1,5,5", "--out", "d", "--sheet"}, &options, &error));
    ASSERT_TRUE(planCapture(&options, cycle, &error)) << error;
    EXPECT_EQ(options.shots, (std::vector<int32_t>{1, 5, 20}));
    EXPECT_TRUE(options.sheet);

    ASSERT_TRUE(parse({"--frames", "20", "--shot", "21", "--out", "d"}, &options, &error));
    EXPECT_FALSE(planCapture(&options, cycle, &error));

    ASSERT_TRUE(parse({"--frames", "100", "--out", "d"}, &options, &error));
    ASSERT_TRUE(planCapture(&options, cycle, &error));
    EXPECT_EQ(options.shots, (std::vector<int32_t>{12, 25, 37, 50, 62, 75, 87, 100}));

    ASSERT_TRUE(parse({"--frames", "cycle", "--out", "d", "--wav"}, &options, &error));
    ASSERT_TRUE(planCapture(&options, cycle, &error));
    EXPECT_EQ(options.frames, 500 + 218 + 181 + 174 + 241);
    EXPECT_EQ(options.shots, (std::vector<int32_t>{100, 200, 300, 400, 609, 809, 986, 1194}));

    const int32_t endless[CycleParts] = {500, 0, 181, 174, 241};
    ASSERT_TRUE(parse({"--frames", "cycle", "--out", "d"}, &options, &error));
    EXPECT_FALSE(planCapture(&options, endless, &error));
}

// Two runs with the same options in one process give the same pictures and the same music: nothing
// of the first run leaks into the second.
TEST(Introcap, SameRunTwiceGivesTheSameBytes) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--frames", "40", "--shot", "1,39,40", "--wav", "--out", "d"}, &options, &error));
    CaptureResult first, second;
    runCapture(options, &first);
    runCapture(options, &second);
    ASSERT_TRUE(first.ready);
    EXPECT_EQ(first.framesRendered, 40);
    ASSERT_EQ(first.shots.size(), 3u);
    EXPECT_EQ(first.music.size(), 2u * (40 * 26 * 44100 / 1000));
    EXPECT_EQ(second.framesRendered, 40);
    ASSERT_EQ(second.shots.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(first.shots[i].pixels, second.shots[i].pixels) << i;
    EXPECT_EQ(first.music, second.music);
    EXPECT_NE(first.shots[1].pixels, first.shots[2].pixels); // the picture moves
    bool sound = false;
    for (int16_t sample : first.music) sound = sound || sample != 0;
    EXPECT_TRUE(sound);
}

} // namespace
