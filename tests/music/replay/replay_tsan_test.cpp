// modulePlay, moduleStop and moduleFree from this thread while another renders blocks without pause
// through the mixer thread's block routine. Run under ThreadSanitizer (label tsan).

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "replay_fixture.h"

namespace {

TEST(ReplayThreads, PlayStopAndFreeWhileMixing) {
    ASSERT_TRUE(audioInitOffline(44100));
    XmSong song = replaySong(4);
    song.tempo = 1;
    song.bpm = 255; // short ticks: many tick handler calls per block
    for (int row = 0; row < 64; ++row) {
        song.cell(0, row, row % 4) = {static_cast<uint8_t>(37 + row % 24), 1, 0, 0, 0};
        song.cell(0, row, (row + 1) % 4) = {0, 0, 0, 0xF, static_cast<uint8_t>(1 + row % 3)};
    }
    const std::vector<uint8_t> bytes = xmWrite(song);

    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};
    std::thread mixer([&] {
        int16_t frames[2 * 4096];
        while (!stop.load()) {
            audioRenderBlock(frames);
            blocks.fetch_add(1);
        }
    });

    Module* module = xmLoadBytes(bytes);
    ASSERT_NE(module, nullptr);
    for (int i = 0; i < 3000; ++i) {
        switch (i % 5) {
        case 0:
        case 1:
            EXPECT_TRUE(modulePlay(module));
            break;
        case 2:
            EXPECT_TRUE(moduleStop(module));
            break;
        case 3:
            EXPECT_TRUE(modulePlay(module));
            std::this_thread::yield();
            break;
        default:
            EXPECT_TRUE(moduleFree(module)); // while it plays
            module = xmLoadBytes(bytes);
            ASSERT_NE(module, nullptr);
            break;
        }
    }
    moduleFree(module);
    stop.store(true);
    mixer.join();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_EQ(audioOutput.moduleList.next, &audioOutput.moduleList);
    audioClose();
}

} // namespace
