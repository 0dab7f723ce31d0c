// The intro's tune, resource type "XM" name "TRACK", read independently of the player's loader.

#include "platform/resources.h"
#include "xm_reader.h"

#include <gtest/gtest.h>

#include <set>

namespace {

XmSong loadTrack(uint32_t* size = nullptr) {
    ResourceBytes bytes{};
    XmSong song;
    EXPECT_TRUE(resourceData("XM", "TRACK", &bytes));
    if (size) *size = bytes.size;
    if (bytes.data) {
        EXPECT_EQ("", readXm(bytes.data, bytes.size, &song));
    }
    return song;
}

} // namespace

TEST(Track, IsASmallLinearXmOfFourToEightChannels) {
    uint32_t size = 0;
    XmSong song = loadTrack(&size);
    EXPECT_LT(size, 65536u);
    EXPECT_EQ(0x0104, song.version);
    EXPECT_GE(song.channels, 4);
    EXPECT_LE(song.channels, 8);
    EXPECT_EQ(1, song.flags & 1);
    ASSERT_GT(song.songLength, 0);
    EXPECT_LT(song.restart, song.songLength);
    for (int i = 0; i < song.songLength; ++i) EXPECT_LT(song.orders[i], song.patterns.size()) << i;
    for (const XmPattern& p : song.patterns) {
        EXPECT_GE(p.rows, 1);
        EXPECT_LE(p.rows, 256);
    }
}

TEST(Track, PlaysAMinuteBeforeLoopingThroughItsRestartPosition) {
    XmSong song = loadTrack();
    int loopOrder = -1;
    double seconds = xmSecondsBeforeRepeat(song, &loopOrder);
    EXPECT_GE(seconds, 60.0);
    EXPECT_LT(seconds, 600.0);
    EXPECT_EQ(song.restart, loopOrder);
}

TEST(Track, EveryNoteHasAnInstrumentWithSamples) {
    XmSong song = loadTrack();
    for (size_t p = 0; p < song.patterns.size(); ++p)
        for (const XmCell& cell : song.patterns[p].cells) {
            EXPECT_TRUE(cell.note <= 97) << "pattern " << p;
            if (cell.instrument == 0) continue;
            ASSERT_LE(cell.instrument, song.instruments.size()) << "pattern " << p;
            const XmInstrumentInfo& ins = song.instruments[cell.instrument - 1];
            ASSERT_FALSE(ins.samples.empty()) << "instrument " << int(cell.instrument);
            if (cell.note >= 1 && cell.note <= 96) {
                EXPECT_LT(ins.keymap[cell.note - 1], ins.samples.size())
                    << "instrument " << int(cell.instrument);
            }
        }
}

TEST(Track, SamplesUseBothWidthsAndBothLoopKinds) {
    XmSong song = loadTrack();
    std::set<int> widths, loops;
    for (const XmInstrumentInfo& ins : song.instruments)
        for (const XmSampleInfo& s : ins.samples) {
            int width = (s.type & 0x10) ? 16 : 8;
            widths.insert(width);
            loops.insert(s.type & 3);
            EXPECT_LE(s.volume, 64);
            EXPECT_GT(s.lengthBytes, 0u);
            if (width == 16) {
                EXPECT_EQ(0u, s.lengthBytes % 2);
            }
            if (s.type & 3) {
                EXPECT_GT(s.loopLengthBytes, 0u);
                EXPECT_LE(s.loopStartBytes + s.loopLengthBytes, s.lengthBytes);
            }
        }
    EXPECT_EQ((std::set<int>{8, 16}), widths);
    EXPECT_TRUE(loops.count(1)) << "no forward loop";
    EXPECT_TRUE(loops.count(2)) << "no ping-pong loop";
}

TEST(Track, InstrumentsUseEnvelopesFadeOutAndAutoVibrato) {
    XmSong song = loadTrack();
    bool volumeSustain = false, volumeLoop = false, panningSustain = false, panningLoop = false;
    bool fadeout = false, vibrato = false;
    for (const XmInstrumentInfo& ins : song.instruments) {
        for (const XmEnvelopeInfo* e : {&ins.volume, &ins.panning}) {
            if (!(e->type & 1)) continue;
            ASSERT_GE(e->pointCount, 2);
            ASSERT_LE(e->pointCount, 12);
            for (int k = 0; k < e->pointCount; ++k) {
                EXPECT_LE(e->values[k], 64);
                if (k) {
                    EXPECT_LT(e->positions[k - 1], e->positions[k]);
                }
            }
            if (e->type & 2) {
                EXPECT_LT(e->sustain, e->pointCount);
            }
            if (e->type & 4) {
                EXPECT_LE(e->loopStart, e->loopEnd);
                EXPECT_LT(e->loopEnd, e->pointCount);
            }
        }
        volumeSustain |= (ins.volume.type & 3) == 3;
        volumeLoop |= (ins.volume.type & 5) == 5;
        panningSustain |= (ins.panning.type & 3) == 3;
        panningLoop |= (ins.panning.type & 5) == 5;
        fadeout |= ins.fadeout > 0;
        vibrato |= ins.vibratoDepth > 0 && ins.vibratoRate > 0;
    }
    EXPECT_TRUE(volumeSustain);
    EXPECT_TRUE(volumeLoop);
    EXPECT_TRUE(panningSustain);
    EXPECT_TRUE(panningLoop);
    EXPECT_TRUE(fadeout);
    EXPECT_TRUE(vibrato);
}

TEST(Track, UsesThePlayersRangeOfEffects) {
    XmSong song = loadTrack();
    std::set<int> used;         // effect * 16 + sub-command for E, effect * 16 otherwise
    std::set<int> volumeColumn; // high nibble of the volume column
    bool speed = false, tempo = false, keyOff = false;
    for (int i = 0; i < song.songLength; ++i)
        for (const XmCell& cell : song.patterns[song.orders[i]].cells) {
            if (cell.effect == 0 && cell.parameter == 0) {
            } else if (cell.effect == 0xE) {
                used.insert(0xE0 + (cell.parameter >> 4));
            } else {
                used.insert(cell.effect * 16);
            }
            if (cell.effect == 0xF) (cell.parameter < 32 ? speed : tempo) = true;
            if (cell.volume >= 0x10) volumeColumn.insert(cell.volume >> 4);
            keyOff |= cell.note == 97;
        }
    struct Want {
        int code;
        const char* what;
    };
    for (Want w : {Want{0x00, "arpeggio"}, Want{0x10, "portamento up"}, Want{0x20, "portamento down"},
                   Want{0x30, "tone portamento"}, Want{0x40, "vibrato"}, Want{0xA0, "volume slide"},
                   Want{0xE1, "fine portamento up"}, Want{0xE2, "fine portamento down"},
                   Want{0xEA, "fine volume slide up"}, Want{0xEB, "fine volume slide down"},
                   Want{0xEC, "note cut"}, Want{0xED, "note delay"}})
        EXPECT_TRUE(used.count(w.code)) << w.what;
    EXPECT_TRUE(used.count(0xE9) || used.count(0x1B * 16)) << "retrigger";
    EXPECT_TRUE(used.count(0xB0) || used.count(0xD0)) << "position jump or pattern break";
    EXPECT_TRUE(speed && tempo) << "speed and tempo changes";
    EXPECT_TRUE(keyOff);
    EXPECT_TRUE(volumeColumn.count(1) || volumeColumn.count(2) || volumeColumn.count(3) ||
                volumeColumn.count(4) || volumeColumn.count(5))
        << "volume column set volume";
    EXPECT_TRUE(volumeColumn.count(6) || volumeColumn.count(7)) << "volume column slide";
    EXPECT_TRUE(volumeColumn.count(8) || volumeColumn.count(9)) << "volume column fine slide";
    EXPECT_TRUE(volumeColumn.count(0xC)) << "volume column panning";
}
