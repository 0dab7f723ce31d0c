#pragma once
// The parts of the replay engine that the row tick, the other ticks and the scheduler share. Everything
// here runs on the mixer thread inside moduleTick, allocates nothing and takes no lock.

#include <cstdint>

#include "music/module.h"

// Song flow.
int32_t moduleSongLength(const Module* module); // songLength limited to the 0..256 entries of orderTable
int32_t moduleRestartPosition(const Module* module);
// The pattern at an order position, or null when the order entry names no pattern with cells.
const Pattern* modulePatternAt(const Module* module, int32_t orderPosition);
// The cells of one row, or null when that row is not there.
const PatternCell* moduleRowCells(const Module* module, int32_t orderPosition, int32_t row);

void processRow(Module* module);
void processTick(Module* module);

// Sample selection from the channel's instrument and note.
const Instrument* channelInstrument(const Module* module, const Channel* channel);
Sample* channelSample(const Channel* channel, const Instrument* instrument);

// Pitch.
int32_t amigaPeriod(int32_t note, int32_t finetune);
int32_t notePeriod(const Module* module, uint8_t realNote, int32_t finetune);
int32_t periodAdd(int32_t period, int64_t amount); // saturating, so no later sum can overflow
void tonePortamento(Channel* channel);
void vibratoDelta(Channel* channel);
void vibratoAdvance(Channel* channel);
void autoVibrato(Channel* channel, const Instrument* instrument);

// Envelopes.
void envelopeStep(Channel* channel, EnvelopeState* state, uint8_t type, int32_t pointCount,
                  const EnvelopePoint* points, int32_t loopEnd, int32_t loopStart, int32_t sustain,
                  uint8_t bit);
void envelopeSetPosition(Channel* channel, const Instrument* instrument, int32_t position);
void channelStepEnvelopes(Channel* channel, const Instrument* instrument);
void channelFadeOut(Channel* channel, const Instrument* instrument);

// Channel state.
// Volume and panning moved by delta, kept within their ranges (0..64, 0..255), with the update flagged.
void channelSlideVolume(Channel* channel, int32_t delta);
void channelSlidePan(Channel* channel, int32_t delta);
void applyVolumeColumn(Channel* channel, uint8_t byte);
void applyVolumeColumnTick(Channel* channel, uint8_t byte);
void instrumentReset(Channel* channel, const Sample* sample);
void tremor(Channel* channel);
void updateVoice(Channel* channel, Sample* sample, const Module* module);

// Small helpers shared by the effect tables.
inline int32_t clampInt(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : (value > high ? high : value);
}
inline bool cellStartsNote(const PatternCell& cell) {
    return cell.note >= 1 && cell.note <= NoteCount;
}
