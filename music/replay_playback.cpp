// Starting and stopping a module, and the tick scheduler that walks it through its rows and orders.

#include <cstdint>
#include <cstdlib>

#include "audio/audio_output.h"
#include "audio/voice.h"
#include "music/replay.h"
#include "music/replay_internal.h"
#include "music/tempo.h"

namespace {

void waitForMixerIdle() {
    while (audioOutput.mixerBusy.load(std::memory_order_acquire)) {
    }
}

// With the mixer held off: unlink the module, silence its voices and release its channels.
void moduleStopHeld(Module* module) {
    listUnlink(module);
    module->playing = 0;
    if (module->channels) {
        for (int32_t i = 0; i < module->channelCount; ++i) {
            if (module->channels[i].voice) voiceStop(i);
        }
        free(module->channels);
        module->channels = nullptr;
    }
}

// Where the song goes after a row that set no jump.
void advanceRow(Module* module) {
    module->pendingRow = module->row + 1;
    const Pattern* pattern = modulePatternAt(module, module->orderPosition);
    if (!pattern || module->pendingRow >= pattern->rows) {
        module->pendingRow = 0;
        module->pendingOrder = module->orderPosition + 1;
        if (module->pendingOrder >= moduleSongLength(module))
            module->pendingOrder = moduleRestartPosition(module);
    }
}

} // namespace

bool modulePlay(Module* module) {
    if (!module) return false;
    waitForMixerIdle();
    audioLockMixer();
    moduleStopHeld(module);
    module->pendingOrder = -1;
    module->pendingRow = -1;
    module->playedOrder = -1;
    module->playedRow = -1;
    module->globalVolume = module->initialGlobalVolume;
    module->speed = module->defaultTempo;
    module->row = 0;
    module->orderPosition = 0;
    module->samplesToNextTick = 0;
    module->tick = 0;
    module->patternDelay = 0;
    moduleSetBpm(module, module->defaultBpm);
    const int32_t channelCount = module->channelCount > 0 ? module->channelCount : 0;
    module->channels = static_cast<Channel*>(calloc(channelCount > 0 ? channelCount : 1, sizeof(Channel)));
    if (!module->channels) {
        audioUnlockMixer();
        return false;
    }
    for (int32_t i = 0; i < channelCount; ++i) {
        // Channels beyond the pool, or all of them while no output is open, drive no voice.
        Channel& channel = module->channels[i];
        channel.voice = audioOutput.voicePool && i < VoiceCount ? &audioOutput.voicePool[i] : nullptr;
        channel.voiceIndex = i;
    }
    listInsertBefore(module, &audioOutput.moduleList);
    module->playing = 1;
    audioUnlockMixer();
    return true;
}

bool moduleStop(Module* module) {
    if (!module) return false;
    waitForMixerIdle();
    audioLockMixer();
    moduleStopHeld(module);
    audioUnlockMixer();
    return true;
}

void moduleTick(Module* module) {
    if (!module || !module->channels) return;
    if (module->tick == 0) {
        if (module->pendingOrder >= 0) module->orderPosition = module->pendingOrder;
        if (module->pendingRow >= 0) module->row = module->pendingRow;
        // A break, or a loop back to a row marked in a longer pattern, can name a row this pattern lacks.
        const Pattern* pattern = modulePatternAt(module, module->orderPosition);
        if (module->row >= (pattern ? pattern->rows : 0)) module->row = 0;
        processRow(module);
        if (module->pendingRow == -1) advanceRow(module);
    } else {
        processTick(module);
    }
    module->tick += 1;
    if (module->tick >= module->speed + module->patternDelay) {
        module->patternDelay = 0;
        module->tick = 0;
    }
}
