#pragma once
// The audio output: the device, the output ring, the float mixing area, the voice pool and the mixer
// thread. One instance for the process.
//
// (First cut of the interface that the module player relies on; the audio engine fills in the rest.)

#include <atomic>
#include <cstdint>

#include "audio/list.h"
#include "audio/voice.h"

struct AudioOutput {
    int32_t mixingRate;
    Voice* voicePool; // VoiceCount voices, or null while closed
    ListNode voiceList;
    ListNode moduleList; // the started modules
    std::atomic<uint8_t> mixerBusy;
    std::atomic<uint8_t> stopRequested;
    std::atomic<uint8_t> threadExited;
};

extern AudioOutput audioOutput;

bool audioInit(int32_t rate);
void audioClose();

// Holds off the mixer thread: while held, no block is being mixed and none begins. Recursive, so that
// moduleFree may hold it around moduleStop. modulePlay, moduleStop, moduleFree and audioClose use it.
void audioLockMixer();
void audioUnlockMixer();
