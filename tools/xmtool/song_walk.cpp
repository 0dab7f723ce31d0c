#include "tools/xmtool/song_walk.h"

#include "music/replay.h"

namespace {

bool patternLoopRunning(const Module* module) {
    if (!module->channels) return false;
    for (int32_t i = 0; i < module->channelCount; ++i) {
        if (module->channels[i].loopCount != 0) return true;
    }
    return false;
}

} // namespace

bool songWalkTick(SongWalk& walk, Module* module) {
    walk.rowTick = module->tick == 0;
    // Taken before the row: the last pass of a loop ends its counter on the row that it comes back to.
    const bool looping = walk.rowTick && patternLoopRunning(module);
    moduleTick(module);
    if (walk.ended || !walk.rowTick || !module->channels) return walk.ended;
    const uint32_t key = (static_cast<uint32_t>(module->playedOrder & 0xFF) << 24) |
                         (static_cast<uint32_t>(module->playedRow) & 0xFFFFFF);
    if (!walk.played.insert(key).second && !looping) walk.ended = true;
    return walk.ended;
}
