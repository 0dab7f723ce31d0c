// Loads arbitrary bytes as an XM module and plays its first seconds offline, so that the replay engine
// and the mixer meet whatever patterns, effects, envelopes and samples the loader lets through. The
// rate is low to reach many ticks per input; the mixer's arithmetic is the same at every rate.

#include <cstddef>
#include <cstdint>

#include "audio/audio_output.h"
#include "music/module_source.h"
#include "music/replay.h"
#include "music/xm_loader.h"

namespace {

constexpr int32_t Rate = 8000;
constexpr int32_t PlayFrames = 3 * Rate;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool opened = audioInitOffline(Rate);
    if (!opened) return 0;
    sourceRegister();
    sourceSetData(data, static_cast<uint32_t>(size));
    Module* module = moduleLoad("fuzz.xm", nullptr);
    sourceSetData(nullptr, 0);
    if (!module) return 0;
    modulePlay(module);
    for (int32_t played = 0; played < PlayFrames;) {
        const int32_t frames = audioRenderBlock(nullptr);
        if (frames <= 0) break;
        played += frames;
    }
    moduleFree(module);
    return 0;
}
