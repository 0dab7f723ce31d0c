#include <mutex>

#include "audio/audio_output.h"

namespace {
std::recursive_mutex mixerLock;
}

void audioLockMixer() {
    mixerLock.lock();
}

void audioUnlockMixer() {
    mixerLock.unlock();
}
