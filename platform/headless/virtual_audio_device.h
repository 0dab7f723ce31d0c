#pragma once
// An audio device with no sound: it "plays" the ring by a clock. By default the clock is the real one,
// so that a headless intro runs its mixer thread at the pace of a real device. Driven, the play position
// moves only when the caller says so, and each move lets the mixer thread take exactly one look at it:
// tests use this to follow the thread's choice of blocks step by step.

#include <cstdint>

struct AudioDevice;

const AudioDevice* virtualAudioDevice();

// Driven (true) or real (false) clock for the next open. Driven, the position starts at 0.
void virtualAudioSetDriven(bool driven);

// Driven clock: moves the play position on by frames (0 is a look at the same position) and returns
// once the mixer thread has looked at the new position and done what it started there. Returns at once
// when no mixer thread runs.
void virtualAudioAdvance(uint32_t frames);

// Frames played since the device was opened.
uint64_t virtualAudioPlayedFrames();

// Whether the device is open, and the ring it was given.
bool virtualAudioIsOpen();
const int16_t* virtualAudioRing();
