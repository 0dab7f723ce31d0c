#include "tools/xmtool/song_walk.h"

namespace {

bool patternLoopRunning(const Module* module) {
    for (int32_t i = 0; i < module->channelCount; ++i) {
        if (module->channels[i].loopCount != 0) return true;
    }
    return false;
}

} // namespace

bool songWalkAfterTick(SongWalk& walk, const Module* module, bool wasRowTick) {
    if (walk.ended || !wasRowTick || !module->channels) return walk.ended;
    const uint32_t key = (static_cast<uint32_t>(module->playedOrder & 0xFF) << 24) |
                         (static_cast<uint32_t>(module->playedRow) & 0xFFFFFF);
    if (!walk.played.insert(key).second && !patternLoopRunning(module)) walk.ended = true;
    return walk.ended;
}
