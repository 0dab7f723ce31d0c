#pragma once
// Tells when a playing module has gone once through its song: at the first row tick that comes back to
// an order position and row already played. A return made by a running pattern loop (E6x) is part of the
// song and does not count.

#include <cstdint>
#include <unordered_set>

#include "music/module.h"

struct SongWalk {
    std::unordered_set<uint32_t> played;
    bool ended = false;
    bool rowTick = false; // whether the last tick was a row tick
};

// Runs one tick of the module (moduleTick) and returns true from the tick that ends the song on.
bool songWalkTick(SongWalk& walk, Module* module);
