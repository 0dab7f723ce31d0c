#pragma once
// What the audio output needs of the platform: a device that plays one ring of 16-bit stereo frames over
// and over from its start, tells how far it has played, and a thread of high priority to feed it.
// Platform code provides the tables (waveOut, SDL, the virtual device); audioSetDevice picks one.

#include <cstdint>

using AudioThreadRoutine = void (*)();

struct AudioDevice {
    // Opens the device for 16-bit stereo PCM at rate frames per second and starts it looping over ring
    // (ringBytes long, frames left then right). False when the device cannot be opened.
    bool (*open)(int32_t rate, const int16_t* ring, uint32_t ringBytes);
    // Bytes played since playback started. False when the device cannot tell.
    bool (*position)(uint64_t* bytes);
    // Stops playback and closes the device; does nothing when it is not open.
    void (*close)();
    // Runs routine on a new thread at the highest priority the system grants. False if no thread.
    bool (*threadStart)(AudioThreadRoutine routine);
    // Waits until the thread of threadStart has ended and releases it.
    void (*threadJoin)();
    // Pauses the calling thread for about 2 ms between two looks at the play position.
    void (*sleep)();
    // Cuts short a pause of the mixer thread so that it sees a stop request at once. May be null.
    void (*wake)();
};
