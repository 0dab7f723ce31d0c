#pragma once
// The resampling mixer: interpolates every playing voice's sample at its 32.32 step, applies its gains
// through short linear volume ramps, follows the sample's loop, and converts float frames to 16-bit PCM.
// Float frames are left/right pairs on the scale of 16-bit samples. Runs only on the thread that mixes
// (the mixer thread or an offline renderer), with the mixer lock held.

#include <cstdint>

#include "audio/list.h"

// Adds every playing voice of voiceList (a sentinel head) into frameCount float frames at destination and
// advances the voices. Reads the ramp length from audioOutput; does nothing for frameCount <= 0.
void mixBlock(float* destination, ListNode* voiceList, int32_t frameCount);

// Converts frameCount float frames to 16-bit frames, rounding to nearest (ties to even) and clamping.
// Does nothing for frameCount <= 0 or a null pointer.
void clipBlock(int16_t* destination, const float* source, int32_t frameCount);

// Sets the mixer constants that follow from the mixing rate: rampLength (rate * 128 / 44100, at least 1)
// and its reciprocal. audioInit calls it; so may a caller that mixes without an open output.
void mixerSetRate(int32_t rate);
