#pragma once
// An independent reading of an XM file for checking the shipped tune's structure. It checks the
// framing strictly (every length must add up to the end of the file), which the player's own
// loader does not.

#include <cstdint>
#include <string>
#include <vector>

struct XmCell {
    uint8_t note = 0, instrument = 0, volume = 0, effect = 0, parameter = 0;
};

struct XmPattern {
    int rows = 0;
    std::vector<XmCell> cells; // row by row
};

struct XmSampleInfo {
    uint32_t lengthBytes = 0, loopStartBytes = 0, loopLengthBytes = 0;
    uint8_t volume = 0, type = 0, panning = 0;
    int8_t finetune = 0, relativeNote = 0;
};

struct XmEnvelopeInfo {
    int pointCount = 0, sustain = 0, loopStart = 0, loopEnd = 0, type = 0;
    uint16_t positions[12] = {}, values[12] = {};
};

struct XmInstrumentInfo {
    std::vector<XmSampleInfo> samples;
    uint8_t keymap[96] = {};
    XmEnvelopeInfo volume, panning;
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
    uint16_t fadeout = 0;
};

struct XmSong {
    uint16_t version = 0, songLength = 0, restart = 0, channels = 0, flags = 0, tempo = 0, bpm = 0;
    uint8_t orders[256] = {};
    std::vector<XmPattern> patterns;
    std::vector<XmInstrumentInfo> instruments;
};

// Returns an empty string on success, else what is wrong.
std::string readXm(const uint8_t* data, uint32_t size, XmSong* out);

// Seconds the song plays from the start until its (order, row, speed, tempo) state first repeats,
// following speed and tempo changes, pattern breaks, position jumps, pattern delays and the
// restart position. loopOrder receives the order position at which the repetition begins.
double xmSecondsBeforeRepeat(const XmSong& song, int* loopOrder);
