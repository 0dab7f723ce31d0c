#include <cstring>

#include "audio/audio_output.h"
#include "music/module.h"

namespace {

Module* moduleOf(ListNode* node) {
    return static_cast<Module*>(node);
}

// Runs every playing module's tick handler as its ticks fall due and mixes the voices between them. The
// pieces are cut at the ticks of all playing modules together, so each voice is mixed once per frame
// however many modules are started; with one module this is its own tick schedule.
void mixModules(float* block, int32_t blockFrames) {
    AudioOutput& output = audioOutput;
    ListNode* const modules = &output.moduleList;
    int32_t done = 0;
    while (done < blockFrames) {
        int32_t piece = blockFrames - done;
        bool anyPlaying = false;
        for (ListNode* node = modules->next; node != modules; node = node->next) {
            Module* module = moduleOf(node);
            if (!module->playing) continue;
            anyPlaying = true;
            if (module->samplesToNextTick <= 0) {
                if (module->tickHandler) module->tickHandler(module);
                // samplesPerTick is read after the tick, so a tempo change governs the tick it starts.
                module->samplesToNextTick = module->samplesPerTick > 0 ? module->samplesPerTick : 1;
            }
            if (module->samplesToNextTick < piece) piece = module->samplesToNextTick;
        }
        if (!anyPlaying) return;
        if (output.mixRoutine) output.mixRoutine(block + 2 * done, &output.voiceList, piece);
        for (ListNode* node = modules->next; node != modules; node = node->next) {
            if (moduleOf(node)->playing) moduleOf(node)->samplesToNextTick -= piece;
        }
        done += piece;
    }
}

} // namespace

void audioMixBlock(int32_t block) {
    audioLockMixer();
    AudioOutput& output = audioOutput;
    if (output.mixBuffer && output.outputBuffer && block >= 0 && block < output.blockCount) {
        output.mixerBusy.store(1);
        const int32_t frames = output.blockFrames;
        float* mix = output.mixBuffer + 2 * static_cast<size_t>(block) * frames;
        std::memset(mix, 0, 2 * sizeof(float) * static_cast<size_t>(frames));
        mixModules(mix, frames);
        if (output.clipRoutine)
            output.clipRoutine(output.outputBuffer + 2 * static_cast<size_t>(block) * frames, mix, frames);
        output.mixerBusy.store(0);
    }
    audioUnlockMixer();
}

int32_t audioRenderBlock(int16_t* out) {
    audioLockMixer();
    AudioOutput& output = audioOutput;
    int32_t frames = 0;
    if (output.outputBuffer && !output.device) {
        const int32_t block = output.nextBlock;
        audioMixBlock(block);
        frames = output.blockFrames;
        if (out)
            std::memcpy(out, output.outputBuffer + 2 * static_cast<size_t>(block) * frames,
                        4 * static_cast<size_t>(frames));
        output.nextBlock = block + 1 == output.blockCount ? 0 : block + 1;
    }
    audioUnlockMixer();
    return frames;
}
