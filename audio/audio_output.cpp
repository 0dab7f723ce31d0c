#include "audio/audio_output.h"

#include <cstdlib>

#include "audio/audio_device.h"
#include "audio/mixer.h"
#include "audio/mixer_thread.h"
#include "music/module.h"
#include "music/source.h"
#include "music/tempo.h"

AudioOutput audioOutput;

namespace {

const AudioDevice* chosenDevice = nullptr;

bool readerCallbacksRegistered() {
    return sourceCallbacks.open && sourceCallbacks.close && sourceCallbacks.read && sourceCallbacks.seek &&
           sourceCallbacks.tell;
}

// Channels hold pointers into the voice pool, which is made anew by every open: a module that stayed
// started across a close and an open drives the same voice numbers in the new pool. While no pool exists
// its channels drive no voice.
void bindStartedModules(Voice* pool) {
    for (ListNode* node = audioOutput.moduleList.next; node != &audioOutput.moduleList; node = node->next) {
        Module* module = static_cast<Module*>(node);
        if (pool) moduleSetBpm(module, module->bpm);
        if (!module->channels) continue;
        for (int32_t i = 0; i < module->channelCount; ++i) {
            Channel& channel = module->channels[i];
            const bool inPool = pool && channel.voiceIndex >= 0 && channel.voiceIndex < VoiceCount;
            channel.voice = inPool ? &pool[channel.voiceIndex] : nullptr;
        }
    }
}

bool allocateBuffers() {
    AudioOutput& output = audioOutput;
    const size_t ringFrames = static_cast<size_t>(output.ringFrames);
    output.mixAllocation = calloc(ringFrames * 2 * sizeof(float) + 256, 1);
    if (!output.mixAllocation) return false;
    const uintptr_t address = reinterpret_cast<uintptr_t>(output.mixAllocation);
    output.mixBuffer = reinterpret_cast<float*>((address + 15) & ~uintptr_t{15});

    output.voiceList.next = output.voiceList.prev = &output.voiceList;
    output.voicePool = static_cast<Voice*>(calloc(VoiceCount, sizeof(Voice)));
    if (!output.voicePool) return false;
    for (int32_t i = 0; i < VoiceCount; ++i) {
        listInsertBefore(&output.voicePool[i], &output.voiceList);
        output.voicePool[i].index = i;
    }

    output.outputBuffer = static_cast<int16_t*>(calloc(ringFrames * 2, sizeof(int16_t)));
    return output.outputBuffer != nullptr;
}

bool audioOpen(int32_t rate, const AudioDevice* device) {
    audioClose();
    if (rate < MinMixingRate || rate > MaxMixingRate) return false;

    audioLockMixer();
    AudioOutput& output = audioOutput;
    output.mixingRate = rate;
    output.mixRoutine = mixBlock;
    output.clipRoutine = clipBlock;
    output.blockFrames = (rate * BlockMs / 1000 + 3) & ~3;
    output.ringFrames = 2 * (BufferLengthMs / BlockMs) * output.blockFrames;
    output.blockCount = output.ringFrames / output.blockFrames;
    if (output.nextBlock < 0 || output.nextBlock >= output.blockCount) output.nextBlock = 0;
    mixerSetRate(rate);
    bool opened = allocateBuffers();
    if (opened && device) {
        opened = device->open(rate, output.outputBuffer, static_cast<uint32_t>(output.ringFrames) * 4);
        if (opened) output.device = device;
    }
    if (opened) bindStartedModules(output.voicePool);
    audioUnlockMixer();
    if (!opened) {
        audioClose();
        return false;
    }

    output.stopRequested.store(0);
    if (device) {
        // Cleared here rather than by the new thread, so that a close that follows at once still waits.
        output.threadExited.store(0);
        output.threadRunning = device->threadStart(mixerThread);
        // Without a thread the ring plays silence.
        if (!output.threadRunning) output.threadExited.store(1);
    }
    return true;
}

} // namespace

void audioSetDevice(const AudioDevice* device) {
    chosenDevice = device;
}

bool audioInit(int32_t rate) {
    if (!readerCallbacksRegistered()) return false;
    if (!chosenDevice) {
        audioClose();
        return false;
    }
    return audioOpen(rate, chosenDevice);
}

bool audioInitOffline(int32_t rate) {
    return audioOpen(rate, nullptr);
}

void audioClose() {
    AudioOutput& output = audioOutput;
    output.stopRequested.store(1);
    if (output.threadRunning) {
        if (output.device->wake) output.device->wake();
        output.device->threadJoin();
        output.threadRunning = false;
        output.threadExited.store(1);
    }

    audioLockMixer();
    output.mixRoutine = nullptr;
    output.voiceList.next = output.voiceList.prev = &output.voiceList;
    free(output.mixAllocation);
    output.mixAllocation = nullptr;
    output.mixBuffer = nullptr;
    if (output.device) {
        output.device->close();
        output.device = nullptr;
    }
    free(output.outputBuffer);
    output.outputBuffer = nullptr;
    free(output.voicePool);
    output.voicePool = nullptr;
    bindStartedModules(nullptr);
    audioUnlockMixer();
}
