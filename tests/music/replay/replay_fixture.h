#pragma once
// Plays songs built with the in-memory XM writer through an offline audio output, one tick at a time.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "audio/audio_output.h"
#include "music/module.h"
#include "music/replay.h"
#include "music/xm_loader.h"
#include "tests/support/xm_writer.h"

// A song of `channels` channels whose instrument 1 has one looped 8-bit sample of 64 frames.
inline XmSong replaySong(int channels = 1, uint16_t linear = 1) {
    XmSong song;
    song.channels = static_cast<uint16_t>(channels);
    song.flags = linear;
    song.orders = {0};
    song.patterns.resize(1);
    XmInstrument instrument;
    std::vector<int8_t> values(64);
    for (int i = 0; i < 64; ++i) values[i] = static_cast<int8_t>(i * 2 - 64);
    instrument.samples.push_back(xmSample8(values, XmLoop::Forward, 0, 64));
    instrument.samples.back().volume = 48;
    instrument.samples.back().panning = 96;
    song.instruments.push_back(instrument);
    return song;
}

class ReplayTest : public ::testing::Test {
  protected:
    Module* module = nullptr;

    void SetUp() override { ASSERT_TRUE(audioInitOffline(44100)); }
    void TearDown() override {
        moduleFree(module);
        audioClose();
    }

    void play(const XmSong& song) {
        module = xmLoadBytes(xmWrite(song));
        ASSERT_NE(module, nullptr) << moduleLoadError();
        ASSERT_TRUE(modulePlay(module));
    }
    Channel& channel(int i = 0) { return module->channels[i]; }
    Voice& voice(int i = 0) { return audioOutput.voicePool[i]; }
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) moduleTick(module);
    }
    // One value per tick, read after each tick.
    std::vector<int32_t> trace(int ticks, const std::function<int32_t()>& value) {
        std::vector<int32_t> values;
        for (int i = 0; i < ticks; ++i) {
            moduleTick(module);
            values.push_back(value());
        }
        return values;
    }
    // (order position, row) of each row tick over the given number of ticks.
    std::vector<std::pair<int32_t, int32_t>> rowsPlayed(int ticks) {
        std::vector<std::pair<int32_t, int32_t>> rows;
        for (int i = 0; i < ticks; ++i) {
            const bool rowTick = module->tick == 0;
            moduleTick(module);
            if (rowTick) rows.emplace_back(module->playedOrder, module->playedRow);
        }
        return rows;
    }
};
