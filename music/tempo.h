#pragma once
// The tempo of a playing module as output frames per tick.

#include <cstdint>

struct Module;

// Stores bpm and recomputes samplesPerTick from it and the output's mixing rate: 2.5 / bpm seconds per
// tick (882 frames at 125 BPM and 44100 Hz). A tempo or rate of 0 or less, which gives no meaningful
// length, leaves a tick of 1 frame; the result is never below 1. A null module is ignored.
void moduleSetBpm(Module* module, int32_t bpm);
