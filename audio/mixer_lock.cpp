#include <atomic>

#include "audio/audio_output.h"
#include "platform/thread.h"

// A recursive lock that never blocks in the kernel: the mixer thread only ever tries it (a block it cannot
// take now is mixed at its next look, 2 ms later), so a time-critical mixer thread never waits on the
// main thread; the main thread spins, yielding, for at most the mixing of one block.
namespace {
std::atomic<uintptr_t> owner{0};
int depth = 0; // touched only by the owner
} // namespace

bool audioTryLockMixer() {
    const uintptr_t self = threadCurrentId();
    if (owner.load(std::memory_order_relaxed) == self) {
        ++depth;
        return true;
    }
    uintptr_t none = 0;
    if (!owner.compare_exchange_strong(none, self, std::memory_order_acquire, std::memory_order_relaxed))
        return false;
    depth = 1;
    return true;
}

void audioLockMixer() {
    while (!audioTryLockMixer()) threadYield();
}

void audioUnlockMixer() {
    if (--depth == 0) owner.store(0, std::memory_order_release);
}
