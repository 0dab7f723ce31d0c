// The tick scheduler and song flow: rows, orders, jumps, breaks, loops, delays, and damaged songs.

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "replay_fixture.h"

namespace {

using Rows = std::vector<std::pair<int32_t, int32_t>>;
constexpr uint8_t C4 = 49;

// A song of `patterns` patterns of `rows` rows played in order.
XmSong flowSong(int patterns, int rows) {
    XmSong song = replaySong();
    song.tempo = 1;
    song.patterns.assign(patterns, XmPattern{});
    song.orders.clear();
    for (int i = 0; i < patterns; ++i) {
        song.patterns[i].rows = rows;
        song.orders.push_back(static_cast<uint8_t>(i));
    }
    return song;
}

TEST_F(ReplayTest, FirstTickIsTheRowTickOfTheFirstRow) {
    XmSong song = replaySong();
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    play(song);
    EXPECT_EQ(module->samplesToNextTick, 0);
    EXPECT_EQ(module->samplesPerTick, 882);
    EXPECT_EQ(module->tick, 0);
    tick();
    EXPECT_EQ(module->playedOrder, 0);
    EXPECT_EQ(module->playedRow, 0);
    EXPECT_EQ(channel().period, 4608);
}

TEST_F(ReplayTest, RowLengthFollowsSpeedAndPatternDelay) {
    XmSong song = replaySong();
    song.cell(0, 1, 0) = {0, 0, 0, 0xE, 0xE2};
    song.cell(0, 2, 0) = {0, 0, 0, 15, 0};
    play(song);
    EXPECT_EQ(rowsPlayed(6), (Rows{{0, 0}}));
    std::vector<int32_t> ticks = trace(18, [&] { return module->tick; });
    EXPECT_EQ(ticks.front(), 1);
    EXPECT_EQ(ticks.back(), 0) << "EE2 at speed 6: 18 ticks";
    EXPECT_EQ(module->row, 1);
    // F00: every tick is a row tick.
    EXPECT_EQ(rowsPlayed(3), (Rows{{0, 2}, {0, 3}, {0, 4}}));
}

TEST_F(ReplayTest, SongContinuesAtTheRestartPosition) {
    XmSong song = flowSong(3, 2);
    song.restartPosition = 1;
    play(song);
    EXPECT_EQ(rowsPlayed(8), (Rows{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {1, 0}, {1, 1}}));
}

struct JumpCase {
    const char* name;
    std::vector<std::pair<int, XmCell>> cells; // (channel, cell) on row 1 of order 0
    Rows expected;                             // the row ticks after row 1
};

TEST_F(ReplayTest, JumpsAndBreaks) {
    const JumpCase cases[] = {
        {"break", {{0, {0, 0, 0, 0xD, 0x12}}}, {{1, 12}, {1, 13}}},
        {"break beyond 63 goes to row 0", {{0, {0, 0, 0, 0xD, 0x64}}}, {{1, 0}, {1, 1}}},
        {"break 1A is row 20", {{0, {0, 0, 0, 0xD, 0x1A}}}, {{1, 20}, {1, 21}}},
        {"jump", {{0, {0, 0, 0, 0xB, 2}}}, {{2, 0}, {2, 1}}},
        {"jump beyond the song", {{0, {0, 0, 0, 0xB, 9}}}, {{0, 0}, {0, 1}}},
        {"jump then break", {{0, {0, 0, 0, 0xB, 2}}, {1, {0, 0, 0, 0xD, 0x05}}}, {{2, 5}, {2, 6}}},
        {"break then jump", {{0, {0, 0, 0, 0xD, 0x05}}, {1, {0, 0, 0, 0xB, 2}}}, {{2, 0}, {2, 1}}},
        {"two breaks", {{0, {0, 0, 0, 0xD, 0x05}}, {1, {0, 0, 0, 0xD, 0x07}}}, {{1, 7}, {1, 8}}},
        {"loop overridden by a break",
         {{0, {0, 0, 0, 0xE, 0x62}}, {1, {0, 0, 0, 0xD, 0x03}}},
         {{1, 3}, {1, 4}}},
    };
    for (const JumpCase& c : cases) {
        XmSong song = flowSong(3, 64);
        song.channels = 2;
        for (const auto& [channelIndex, cell] : c.cells) song.cell(0, 1, channelIndex) = cell;
        play(song);
        tick(2);
        EXPECT_EQ(rowsPlayed(2), c.expected) << c.name;
        moduleFree(module);
        module = nullptr;
    }
}

TEST_F(ReplayTest, BreakOnTheLastOrderGoesToTheStart) {
    XmSong song = flowSong(2, 4);
    song.restartPosition = 1;
    song.cell(1, 0, 0) = {0, 0, 0, 0xD, 0x02};
    play(song);
    EXPECT_EQ(rowsPlayed(7), (Rows{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}, {0, 2}, {0, 3}}));
}

TEST_F(ReplayTest, PatternLoop) {
    XmSong song = flowSong(1, 16);
    song.cell(0, 4, 0) = {0, 0, 0, 0xE, 0x60};
    song.cell(0, 8, 0) = {0, 0, 0, 0xE, 0x62};
    play(song);
    Rows played = rowsPlayed(4 + 3 * 5 + 2);
    Rows expected;
    for (int row = 0; row < 4; ++row) expected.emplace_back(0, row);
    for (int pass = 0; pass < 3; ++pass) {
        for (int row = 4; row <= 8; ++row) expected.emplace_back(0, row);
    }
    expected.emplace_back(0, 9);
    expected.emplace_back(0, 10);
    EXPECT_EQ(played, expected);
}

TEST_F(ReplayTest, PlayRestartsAndStopIsHarmless) {
    XmSong song = flowSong(2, 4);
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    play(song);
    tick(6);
    ASSERT_TRUE(modulePlay(module));
    EXPECT_EQ(rowsPlayed(1), (Rows{{0, 0}}));
    EXPECT_EQ(audioOutput.moduleList.next, static_cast<ListNode*>(module));
    EXPECT_EQ(audioOutput.moduleList.prev, static_cast<ListNode*>(module));
    EXPECT_NE(voice().sample, nullptr);
    EXPECT_TRUE(moduleStop(module));
    EXPECT_EQ(module->channels, nullptr);
    EXPECT_EQ(module->playing, 0);
    EXPECT_EQ(voice().sample, nullptr);
    EXPECT_EQ(audioOutput.moduleList.next, &audioOutput.moduleList);
    EXPECT_TRUE(moduleStop(module));
    EXPECT_EQ(module->next, static_cast<ListNode*>(module));
    EXPECT_FALSE(modulePlay(nullptr));
    EXPECT_FALSE(moduleStop(nullptr));
    moduleTick(nullptr);
    moduleTick(module); // stopped: nothing to play
}

TEST_F(ReplayTest, FreeStopsAPlayingModule) {
    XmSong song = flowSong(1, 4);
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
    play(song);
    tick();
    EXPECT_NE(voice().sample, nullptr);
    EXPECT_TRUE(moduleFree(module));
    module = nullptr;
    EXPECT_EQ(voice().sample, nullptr);
    EXPECT_EQ(audioOutput.moduleList.next, &audioOutput.moduleList);
}

TEST_F(ReplayTest, DamagedSongFlowStaysInside) {
    // A restart position beyond the song, a break into a shorter pattern, a loop back to a row marked
    // in a longer one.
    XmSong song = flowSong(3, 8);
    song.restartPosition = 7;
    song.patterns[1].rows = 4;
    song.patterns[2].rows = 4;
    song.orders = {0, 1, 2, 0};
    song.cell(0, 6, 0) = {0, 0, 0, 0xE, 0x60};
    song.cell(0, 7, 0) = {0, 0, 0, 0xD, 0x06};
    song.cell(2, 1, 0) = {0, 0, 0, 0xE, 0x61};
    play(song);
    EXPECT_EQ(rowsPlayed(17), (Rows{{0, 0},
                                    {0, 1},
                                    {0, 2},
                                    {0, 3},
                                    {0, 4},
                                    {0, 5},
                                    {0, 6},
                                    {0, 7},
                                    {1, 0},
                                    {1, 1},
                                    {1, 2},
                                    {1, 3},
                                    {2, 0},
                                    {2, 1},
                                    {3, 0},
                                    {3, 1},
                                    {3, 2}}));
}

TEST_F(ReplayTest, OrderEntriesWithoutPatternsAreSkippedSilently) {
    // Built by hand: the loader always gives every named pattern its cells.
    Module* bare = static_cast<Module*>(calloc(1, sizeof(Module)));
    bare->next = bare->prev = bare;
    bare->channelCount = 2;
    bare->songLength = 3;
    bare->restartPosition = -5;
    bare->orderTable[0] = 0;
    bare->orderTable[1] = 9; // beyond the pattern slots
    bare->orderTable[2] = 1; // a slot without cells
    bare->patternSlotCount = 2;
    bare->patterns = static_cast<Pattern*>(calloc(2, sizeof(Pattern)));
    bare->patterns[0].rows = 2;
    bare->patterns[0].cells = static_cast<PatternCell*>(calloc(4, sizeof(PatternCell)));
    bare->patterns[1].rows = 64;
    bare->defaultTempo = 2;
    bare->defaultBpm = 125;
    ASSERT_TRUE(modulePlay(bare));
    std::vector<int32_t> orders;
    for (int i = 0; i < 20; ++i) {
        const bool rowTick = bare->tick == 0;
        moduleTick(bare);
        if (rowTick) orders.push_back(bare->playedOrder);
    }
    EXPECT_EQ(orders, (std::vector<int32_t>{0, 0, 1, 2, 0, 0, 1, 2, 0, 0}));
    EXPECT_TRUE(moduleStop(bare));
    free(bare->patterns[0].cells);
    free(bare->patterns);
    free(bare);
}

TEST_F(ReplayTest, ModulesWithoutPatternsOrTempo) {
    XmSong song = replaySong();
    song.orders.clear();
    song.patterns.clear();
    song.bpm = 0;
    song.tempo = 0;
    play(song);
    EXPECT_GE(module->samplesPerTick, 1);
    tick(100);
    EXPECT_EQ(module->orderPosition, 0);
    int16_t frames[2 * 4096];
    for (int i = 0; i < 4; ++i) audioRenderBlock(frames);
}

} // namespace
