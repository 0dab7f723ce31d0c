#pragma once
// The audio output: the device, the output ring, the float mixing area, the voice pool and the mixer
// thread. One instance for the process.
//
// The device loops a ring of blockCount blocks of blockFrames frames. The mixer thread looks at the play
// position every 2 ms and renews each block as soon as the device has moved past it (audioMixBlock): it
// clears the block's float area, runs the started modules' tick handlers as their ticks fall due and
// mixes the voices between ticks, then converts the block into the ring.
//
// Exclusion: the mixer thread holds the recursive mixer lock for the whole of one block (tick handlers
// included) and sets mixerBusy inside it. Whoever changes modules, channels, voices or samples from
// another thread takes audioLockMixer first; while it is held no block is being mixed and none begins.

#include <atomic>
#include <cstdint>

#include "audio/list.h"
#include "audio/voice.h"

struct AudioDevice;

// Adds frameCount float frames of the voices of voiceList into destination.
using MixRoutine = void (*)(float* destination, ListNode* voiceList, int32_t frameCount);
// Converts frameCount float frames of source into 16-bit frames at destination.
using ClipRoutine = void (*)(int16_t* destination, const float* source, int32_t frameCount);

enum : int32_t {
    BufferLengthMs = 200,
    BlockMs = 20,
    // Rates outside this range give no usable block or ring size.
    MinMixingRate = 50,
    MaxMixingRate = 1000000,
};

struct AudioOutput {
    int32_t mixingRate;
    Voice* voicePool; // VoiceCount voices, or null while closed
    ListNode voiceList{&voiceList, &voiceList};
    ListNode moduleList{&moduleList, &moduleList}; // the started modules
    std::atomic<uint8_t> mixerBusy{0};
    std::atomic<uint8_t> stopRequested{0};
    std::atomic<uint8_t> threadExited{1};

    int32_t blockFrames; // frames per block, a multiple of 4
    int32_t ringFrames;  // blockCount blocks
    int32_t blockCount;
    int32_t nextBlock;     // the next block the mixer renews
    int32_t rampLength;    // frames of a volume ramp, at least 1
    float rampReciprocal;  // 1 / rampLength
    int16_t* outputBuffer; // ringFrames stereo frames that the device plays
    float* mixBuffer;      // ringFrames stereo float frames, 16-byte aligned, inside mixAllocation
    void* mixAllocation;
    MixRoutine mixRoutine;
    ClipRoutine clipRoutine;
    const AudioDevice* device; // the open device; null while closed or rendering offline
    bool threadRunning;
};

extern AudioOutput audioOutput;

// Chooses the device that the next audioInit opens (none is chosen at start: audioInit then fails).
void audioSetDevice(const AudioDevice* device);

// Opens the chosen device at rate Hz, creates the voice pool and starts the mixer thread; an output
// that is open is closed first. False when the module reader callbacks are not registered (then nothing
// at all happens), when the rate is outside MinMixingRate..MaxMixingRate, when the device cannot be
// opened or memory runs out; the output is closed afterwards in those cases.
// Modules that are still started keep playing: their tick lengths are recomputed for the new rate and
// their channels are bound to the new pool's voices.
bool audioInit(int32_t rate);

// Opens the output without a device or a thread, for rendering with audioRenderBlock as fast as the CPU
// allows. Otherwise as audioInit; the reader callbacks are not needed.
bool audioInitOffline(int32_t rate);

// Ends the mixer thread, closes the device and releases the buffers and the voice pool. Returns only once
// the thread has ended. Started modules stay in moduleList. Safe when nothing is open; must not be
// called while the caller holds the mixer lock.
void audioClose();

// Renews block `block` of the ring: clears its float area, runs the ticks and mixes the pieces between
// them for every playing module, converts it into the ring. The one routine behind both the mixer thread
// and offline rendering; takes the mixer lock. Does nothing when no output is open.
void audioMixBlock(int32_t block);

// Offline rendering: renews the next block of the ring exactly as the mixer thread would and copies it
// (blockFrames stereo frames) to out when out is not null. Returns the number of frames, 0 when no
// offline output is open.
int32_t audioRenderBlock(int16_t* out);

// Holds off the mixer thread: while held, no block is being mixed and none begins. Recursive, so that
// moduleFree may hold it around moduleStop. modulePlay, moduleStop, moduleFree and audioClose use it.
// The mixer thread only tries it: audioTryLockMixer takes it (or takes it once more) when it is free or
// already held by the calling thread, and answers false at once otherwise.
void audioLockMixer();
bool audioTryLockMixer();
void audioUnlockMixer();
