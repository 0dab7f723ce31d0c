#include "audio/mixer_thread.h"

#include "audio/audio_device.h"
#include "audio/audio_output.h"

namespace {

// Whether block `next` is due while the device plays block `playing`: as soon as the device has moved
// on past it; while the device plays block 0 or 1 (it has just come round), any block but that one.
bool blockDue(int32_t next, int32_t playing) {
    return next != playing && (next < playing || playing <= 1);
}

} // namespace

void mixerThread() {
    AudioOutput& output = audioOutput;
    const AudioDevice* device = output.device;
    const uint64_t ringFrames = static_cast<uint64_t>(output.ringFrames);
    while (!output.stopRequested.load()) {
        uint64_t bytes = 0;
        // A device that cannot tell its position gets no block until it can again.
        if (device->position(&bytes)) {
            const int32_t playing = static_cast<int32_t>(bytes / 4 % ringFrames / output.blockFrames);
            const int32_t next = output.nextBlock;
            // A block the main thread holds off now is mixed at the next look.
            if (blockDue(next, playing) && audioTryLockMixer()) {
                audioMixBlock(next);
                output.nextBlock = next + 1 == output.blockCount ? 0 : next + 1;
                audioUnlockMixer();
            }
        }
        device->sleep();
    }
    output.threadExited.store(1);
}
