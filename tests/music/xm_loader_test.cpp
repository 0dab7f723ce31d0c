#include <gtest/gtest.h>

#include "music/xm_loader.h"
#include "tests/support/xm_writer.h"

TEST(XmLoader, LoadsASmallSong) {
    XmSong song;
    song.orders = {0, 1, 0};
    song.cell(0, 0, 0) = {49, 1, 0, 0, 0};
    song.cell(1, 63, 3) = {97, 0, 0x40, 0x0F, 3};
    XmInstrument instrument;
    instrument.samples.push_back(xmSample8({1, 2, 3, -4}, XmLoop::Forward, 1, 2));
    song.instruments.push_back(instrument);
    Module* module = xmLoadBytes(xmWrite(song));
    ASSERT_NE(module, nullptr) << moduleLoadError();
    EXPECT_EQ(module->songLength, 3);
    EXPECT_EQ(module->patternSlotCount, 2);
    EXPECT_EQ(module->patterns[0].cells[0].note, 49);
    EXPECT_EQ(module->patterns[1].cells[63 * 4 + 3].note, NoteKeyOff);
    Sample* sample = module->instruments[0].samples[0];
    EXPECT_EQ(sample->length, 4u);
    EXPECT_EQ(sample->data[2], 3 * 256);
    EXPECT_EQ(sample->data[3], 2 * 256); // the guard: the loop's first value
    EXPECT_TRUE(moduleFree(module));
}
