#pragma once
// Playback control of a loaded module: start, stop, and the tick handler that the mixer thread calls
// once per tick while the module plays.

#include <cstdint>

#include "music/module.h"

// Starts the module from order position 0, row 0 (restarting it if it already plays). False for null.
bool modulePlay(Module* module);

// Stops the module and silences its voices; a stopped module stays stopped. False for null.
bool moduleStop(Module* module);

// One tick of the replay engine: the row on the row tick, the running effects on the others.
void moduleTick(Module* module);

// The frequency in Hz that the channel's period and period delta give in the module's scale, clamped to
// the 32-bit range; 0 when the period is 0 (then no frequency is sent). For tools that watch a module play.
int32_t channelFrequency(const Module* module, const Channel* channel);
