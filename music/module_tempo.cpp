#include "audio/audio_output.h"
#include "music/module.h"
#include "music/tempo.h"

void moduleSetBpm(Module* module, int32_t bpm) {
    if (!module) return;
    module->bpm = bpm;
    int32_t samplesPerTick = 1;
    if (bpm > 0) {
        // 0.4 and 0.001 are single-precision constants; the rest runs at double precision. That gives
        // the truncation of rate * 2.5 / bpm for every tempo from 1 to 255 at 44100 Hz.
        const double frames =
            1000.0 / (bpm * static_cast<double>(0.4f)) * audioOutput.mixingRate * static_cast<double>(0.001f);
        if (frames >= 2147483647.0)
            samplesPerTick = 2147483647;
        else if (frames >= 1.0)
            samplesPerTick = static_cast<int32_t>(frames);
    }
    module->samplesPerTick = samplesPerTick;
}
