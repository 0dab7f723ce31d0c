#pragma once
// The 256 mixer voices. Channel i of a playing module drives voice i.

#include <cstdint>

#include "audio/list.h"

struct Sample;

enum { VoiceCount = 256 };

struct Voice : ListNode {
    int32_t index;
    int32_t volume; // 0..255
    int32_t pan;    // 0 (left) .. 255 (right)
    uint32_t startOffset;
    Sample* sample; // null: silent
    uint8_t gainLeft;
    uint8_t gainRight;
    uint32_t positionInt; // 32.32 position, integer word first
    uint32_t positionFrac;
    uint32_t stepFrac; // 32.32 step, fraction word first
    uint32_t stepInt;
    int32_t direction; // 1 forward, 2 backward
    uint8_t rampTargetLeft;
    uint8_t rampTargetRight;
    uint8_t currentLeft;
    uint8_t currentRight;
    uint32_t rampFramesLeft;
};

int voiceStart(int index, Sample* sample);
bool voiceStop(int index);
bool voiceSetFrequency(Voice& voice, int32_t hz);
bool voiceSetVolume(Voice& voice, int32_t volume);
bool voiceSetPan(Voice& voice, int32_t pan);
