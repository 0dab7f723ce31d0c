#pragma once
// The records that the loader builds, the replay engine plays and the mixer sounds. Every record is
// allocated zero-filled (calloc) by its create or load operation and released with free by the
// matching free operation, so any field that nobody sets is 0.

#include <cstdint>

#include "audio/list.h"

struct Voice;
struct Module;

enum : uint8_t { NoteKeyOff = 255 };

enum LoopMode : uint8_t { LoopNone = 1, LoopForward = 2, LoopPingPong = 4 };

enum EnvelopeType : uint8_t { EnvelopeOn = 0x01, EnvelopeSustain = 0x02, EnvelopeLoop = 0x04 };

enum ChannelFlags : uint8_t {
    UpdateFrequency = 0x01,
    UpdateVolume = 0x02,
    UpdatePan = 0x04,
    StartVoice = 0x08,
    StopVoice = 0x20,
};

enum { MaxSamplesPerInstrument = 16, MaxEnvelopePoints = 20, FileEnvelopePoints = 12, NoteCount = 96 };

struct PatternCell {
    uint8_t note;       // 0 none, 1..96 a note, NoteKeyOff
    uint8_t instrument; // 0 none, 1..128
    uint8_t volume;     // volume column byte
    uint8_t effect;
    uint8_t parameter;
};

struct Pattern {
    int32_t rows;
    PatternCell* cells; // rows x channelCount, row by row
};

struct EnvelopePoint {
    uint16_t position; // ticks
    uint16_t value;
};

struct Sample {
    int16_t* data; // length values, then 8 zero-filled values of slack (one may hold the guard sample)
    uint32_t length;
    uint32_t loopStart;
    uint32_t loopLength;
    uint8_t volume;
    int8_t finetune;
    int32_t panning;
    uint8_t bits;
    uint8_t loopMode; // LoopMode; 0 in the shared empty sample
    int8_t relativeNote;
};

struct Instrument {
    int32_t sampleCount;
    Sample* samples[MaxSamplesPerInstrument];
    uint8_t keymap[NoteCount];
    EnvelopePoint volumePoints[MaxEnvelopePoints];
    EnvelopePoint panningPoints[MaxEnvelopePoints];
    uint8_t volumePointCount;
    uint8_t panningPointCount;
    uint8_t volumeSustain;
    uint8_t volumeLoopStart;
    uint8_t volumeLoopEnd;
    uint8_t panningSustain;
    uint8_t panningLoopStart;
    uint8_t panningLoopEnd;
    uint8_t volumeType;
    uint8_t panningType;
    uint8_t vibratoType;
    uint8_t vibratoSweep;
    uint8_t vibratoDepth;
    uint8_t vibratoRate;
    uint16_t fadeout;
};

struct EnvelopeState {
    int32_t ticks;
    int32_t nextPoint;
    int32_t level16; // 16.16 fixed point
    int32_t level;
    int32_t slope;
    uint8_t finished;
};

struct Channel {
    uint8_t note;
    uint8_t flags; // ChannelFlags
    Voice* voice;
    int32_t voiceIndex;
    int32_t period;
    int32_t volume;
    int32_t pan;
    int32_t volumeDelta;
    int32_t periodDelta;
    EnvelopeState volumeEnvelope;
    EnvelopeState panningEnvelope;
    int32_t fadeVolume;
    int32_t autoVibratoPosition;
    int32_t autoVibratoSweep;
    uint8_t keyOff;
    uint8_t instrument;
    uint8_t realNote;
    int32_t notePeriod;
    int32_t sampleOffset;
    uint8_t portaDownMemory;
    uint8_t portaUpMemory;
    uint8_t extraFineDownMemory;
    uint8_t extraFineUpMemory;
    uint8_t volumeSlideMemory;
    uint8_t panSlideMemory;
    uint8_t retrigVolumeOp;
    uint8_t retrigInterval;
    int32_t portaTarget;
    uint8_t portaSpeed;
    int8_t vibratoPosition;
    uint8_t vibratoSpeed;
    uint8_t vibratoDepth;
    uint8_t tremorCounter;
    uint8_t tremorOn;
    uint8_t tremorOff;
    int32_t loopRow;
    int32_t loopCount;
    uint8_t waveControl;
    uint8_t fineVolumeSlideMemory;
};

using TickHandler = void (*)(Module* module);

// Supplies a sample's stored bytes (plain values, not delta-coded) in place of the file's.
using SampleDecoder = void (*)(uint8_t* destination, int32_t byteCount, int32_t bits, int32_t instrumentIndex,
                               int32_t sampleIndex);

struct Module : ListNode {
    Pattern* patterns;       // patternSlotCount entries
    Instrument* instruments; // instrumentCount entries
    Channel* channels;       // channelCount records while playing, null while stopped
    int32_t samplesToNextTick;
    int32_t samplesPerTick;
    int16_t songLength;
    int16_t restartPosition;
    int16_t channelCount;
    int32_t patternsUsed;
    int32_t patternSlotCount;
    int16_t instrumentCount;
    uint16_t flags; // bit 0: linear frequency table
    int16_t defaultTempo;
    int16_t defaultBpm;
    uint8_t orderTable[256];
    uint8_t initialGlobalVolume;
    int32_t globalVolume;
    uint8_t globalVolumeSlide;
    uint8_t playing;
    int32_t tick;
    int32_t speed;
    int32_t bpm;
    int32_t row;
    int32_t orderPosition;
    int32_t patternDelay;
    int32_t pendingRow;
    int32_t pendingOrder;
    TickHandler tickHandler;
    SampleDecoder sampleDecoder;
    // The order position and row that the last row tick played, -1 for none: the other ticks of the row
    // apply its cells even when a pattern loop has already moved `row` on for the next row.
    int32_t playedOrder;
    int32_t playedRow;
};

// Shared by all modules, never freed: every field 0.
extern Instrument emptyInstrument;
extern Sample emptySample;
