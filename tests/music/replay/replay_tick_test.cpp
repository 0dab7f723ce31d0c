// The ticks after the row tick: each case plays one row at speed 6 and follows a channel value tick by tick.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "replay_fixture.h"

namespace {

constexpr uint8_t C4 = 49, E4 = 53;

enum class Watch { Period, PeriodDelta, Volume, VoiceVolume, Pan, Started, GlobalVolume };

struct TickCase {
    std::string name;
    std::vector<XmCell> rows; // channel 0, from row 0; row 0 always starts C-4 with instrument 1 first
    Watch watch;
    std::vector<int32_t> expected; // one value per tick from the first tick of the last row
    uint16_t linear = 1;
};

class ReplayTickTest : public ReplayTest, public ::testing::WithParamInterface<TickCase> {};

int32_t watched(Module* module, Watch watch) {
    const Channel& channel = module->channels[0];
    switch (watch) {
    case Watch::Period:
        return channel.period;
    case Watch::PeriodDelta:
        return channel.periodDelta;
    case Watch::Volume:
        return channel.volume;
    case Watch::VoiceVolume:
        return audioOutput.voicePool[0].volume;
    case Watch::Pan:
        return channel.pan;
    case Watch::Started:
        return (channel.flags & StartVoice) ? 1 : 0;
    case Watch::GlobalVolume:
        return module->globalVolume;
    }
    return 0;
}

TEST_P(ReplayTickTest, FollowsTheRow) {
    const TickCase& c = GetParam();
    XmSong song = replaySong(1, c.linear);
    for (size_t row = 0; row < c.rows.size(); ++row) song.cell(0, static_cast<int>(row), 0) = c.rows[row];
    play(song);
    tick(6 * static_cast<int>(c.rows.size() - 1));
    EXPECT_EQ(trace(static_cast<int>(c.expected.size()), [&] { return watched(module, c.watch); }),
              c.expected);
}

const int32_t AmigaC4 = 1712;

INSTANTIATE_TEST_SUITE_P(
    Effects, ReplayTickTest,
    ::testing::Values(
        TickCase{"ArpeggioLinear", {{C4, 1, 0, 0, 0x37}}, Watch::PeriodDelta, {0, 192, 448, 0, 192, 448}},
        TickCase{"ArpeggioAmiga",
                 {{C4, 1, 0, 0, 0x0C}},
                 Watch::PeriodDelta,
                 {0, 0, 856 - AmigaC4, 0, 0, 856 - AmigaC4},
                 0},
        TickCase{"PortaUpStopsAt56", {{C4, 1, 0, 1, 0xFF}}, Watch::Period, {4608, 3588, 2568, 1548, 528, 56}},
        TickCase{"PortaUpMemory",
                 {{C4, 1, 0, 1, 2}, {0, 0, 0, 1, 0}},
                 Watch::Period,
                 {4568, 4560, 4552, 4544, 4536, 4528}},
        TickCase{"PortaDownHasNoLimit",
                 {{C4, 1, 0, 2, 0xFF}},
                 Watch::Period,
                 {4608, 5628, 6648, 7668, 8688, 9708}},
        TickCase{"TonePortaStopsAtTarget",
                 {{C4, 1, 0, 0, 0}, {E4, 0, 0, 3, 0x18}},
                 Watch::Period,
                 {4608, 4512, 4416, 4352, 4352, 4352}},
        TickCase{"TonePortaVolumeSlide",
                 {{C4, 1, 0x20, 0, 0}, {E4, 0, 0, 3, 0x40}, {E4, 0, 0, 5, 0x20}},
                 Watch::Volume,
                 {16, 18, 20, 22, 24, 26}},
        TickCase{"VibratoAdvancesAfterTheRowTick",
                 {{C4, 1, 0, 4, 0x48}},
                 Watch::PeriodDelta,
                 {0, 0, -24, -44, -56, -60}},
        TickCase{"VolumeColumnVibrato",
                 {{C4, 1, 0xA4, 0, 0}, {0, 0, 0xB8, 0, 0}},
                 Watch::PeriodDelta,
                 {0, 0, -24, -44, -56, -60}},
        TickCase{"VolumeSlideDownFromMemory",
                 {{C4, 1, 0, 0xA, 0x03}, {0, 0, 0, 0xA, 0}},
                 Watch::Volume,
                 {33, 30, 27, 24, 21, 18}},
        TickCase{"VolumeSlideUpWins", {{C4, 1, 0x30, 0xA, 0x55}}, Watch::Volume, {32, 37, 42, 47, 52, 57}},
        TickCase{"RetriggerEvery3", {{C4, 1, 0, 0xE, 0x93}}, Watch::Started, {1, 0, 0, 1, 0, 0}},
        TickCase{"RetriggerZeroDoesNothing", {{C4, 1, 0, 0xE, 0x90}}, Watch::Started, {1, 0, 0, 0, 0, 0}},
        TickCase{"NoteCut", {{C4, 1, 0, 0xE, 0xC3}}, Watch::Volume, {48, 48, 48, 0, 0, 0}},
        TickCase{"NoteCutZeroDoesNothing", {{C4, 1, 0, 0xE, 0xC0}}, Watch::Volume, {48, 48, 48, 48, 48, 48}},
        TickCase{"NoteDelayStartsOnItsTick",
                 {{C4, 1, 0x20, 0, 0}, {E4, 1, 0, 0xE, 0xD3}},
                 Watch::Started,
                 {0, 0, 0, 1, 0, 0}},
        TickCase{"NoteDelayKeepsTheOldNoteUntilThen",
                 {{C4, 1, 0x20, 0, 0}, {E4, 1, 0, 0xE, 0xD3}},
                 Watch::Period,
                 {4608, 4608, 4608, 4352, 4352, 4352}},
        TickCase{"NoteDelaySendsNoVolumeMeanwhile",
                 {{C4, 1, 0x20, 0, 0}, {E4, 1, 0, 0xE, 0xD3}},
                 Watch::VoiceVolume,
                 {31, 31, 31, 95, 95, 95}},
        TickCase{"NoteDelayZeroNeverStarts",
                 {{C4, 1, 0, 0, 0}, {E4, 1, 0, 0xE, 0xD0}},
                 Watch::Started,
                 {0, 0, 0, 0, 0, 0}},
        TickCase{"NoteDelayBeyondTheRow",
                 {{C4, 1, 0, 0, 0}, {E4, 1, 0, 0xE, 0xD6}},
                 Watch::Started,
                 {0, 0, 0, 0, 0, 0}},
        TickCase{"MultiRetrigOp0", {{C4, 1, 0x38, 27, 0x03}}, Watch::Started, {1, 0, 0, 1, 0, 0}},
        TickCase{"MultiRetrigOpF", {{C4, 1, 0x38, 27, 0xF3}}, Watch::Volume, {40, 40, 40, 64, 64, 64}},
        TickCase{"MultiRetrigOp6", {{C4, 1, 0x38, 27, 0x62}}, Watch::Volume, {40, 40, 26, 26, 17, 17}},
        TickCase{"PanSlideLeftStopsAt0",
                 {{C4, 1, 0xC0, 0, 0}, {0, 0, 0x00, 8, 10}, {0, 0, 0, 25, 0x0F}},
                 Watch::Pan,
                 {10, 0, 0, 0, 0, 0}},
        TickCase{"PanSlideRightStopsAt255",
                 {{C4, 1, 0, 8, 250}, {0, 0, 0, 25, 0xF0}},
                 Watch::Pan,
                 {250, 255, 255, 255, 255, 255}},
        TickCase{"Tremor", {{C4, 1, 0, 29, 0x11}}, Watch::VoiceVolume, {95, 95, 0, 0, 95, 95}},
        TickCase{"GlobalVolumeSlide", {{C4, 1, 0, 17, 0x0A}}, Watch::GlobalVolume, {64, 54, 44, 34, 24, 14}}),
    [](const ::testing::TestParamInfo<TickCase>& info) { return info.param.name; });

TEST_F(ReplayTest, ArpeggioRunsOnThroughAPatternDelay) {
    XmSong song = replaySong(2);
    song.cell(0, 0, 0) = {C4, 1, 0, 0, 0x37};
    song.cell(0, 0, 1) = {0, 0, 0, 0xE, 0xE1};
    play(song);
    EXPECT_EQ(trace(13, [&] { return channel().periodDelta; }),
              (std::vector<int32_t>{0, 192, 448, 0, 192, 448, 0, 192, 448, 0, 192, 448, 0}));
    EXPECT_EQ(module->playedRow, 1);
}

TEST_F(ReplayTest, PatternLoopTicksApplyTheLoopingRow) {
    // After E61 the module's row already points before the loop start, at a row that slides the volume.
    XmSong song = replaySong();
    song.cell(0, 0, 0) = {C4, 1, 0x20, 0xA, 0x10};
    song.cell(0, 1, 0) = {0, 0, 0, 0xE, 0x60};
    song.cell(0, 2, 0) = {0, 0, 0, 0xE, 0x61};
    play(song);
    tick(12);
    EXPECT_EQ(channel().volume, 21);
    tick(6);
    EXPECT_EQ(module->row, 0);
    EXPECT_EQ(channel().volume, 21);
    EXPECT_EQ(rowsPlayed(18), (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(channel().volume, 21);
}

TEST_F(ReplayTest, GlobalVolumeSlideIsHeardAtTheNextVolumeUpdate) {
    XmSong song = replaySong(2);
    song.cell(0, 0, 0) = {C4, 1, 0x50, 17, 0x08};
    song.cell(0, 0, 1) = {C4, 1, 0x50, 0, 0};
    play(song);
    tick(3);
    EXPECT_EQ(module->globalVolume, 48);
    EXPECT_EQ(voice(1).volume, 127) << "no volume update on the other ticks of a plain row";
    tick(3);
    EXPECT_EQ(voice(1).volume, 127);
    tick();
    EXPECT_EQ(voice(1).volume, 64 * 64 * 24 * 255 / (1 << 19));
}

} // namespace
