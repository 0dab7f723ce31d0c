// Where play stands in the song: order entries, patterns and rows, looked up so that a damaged module
// never makes the engine read a row, a pattern or an order entry that is not there; and the sample that
// a channel's instrument and note select.

#include <cstdint>

#include "music/replay_internal.h"

int32_t moduleSongLength(const Module* module) {
    const int32_t length = module->songLength;
    return length < 0 ? 0 : (length > 256 ? 256 : length);
}

int32_t moduleRestartPosition(const Module* module) {
    // A restart position outside the order list starts the song over.
    const int32_t restart = module->restartPosition;
    return restart >= 0 && restart < moduleSongLength(module) ? restart : 0;
}

const Pattern* modulePatternAt(const Module* module, int32_t orderPosition) {
    if (!module->patterns || orderPosition < 0 || orderPosition > 255) return nullptr;
    const int32_t number = module->orderTable[orderPosition];
    if (number >= module->patternSlotCount) return nullptr;
    const Pattern* pattern = &module->patterns[number];
    return pattern->cells && pattern->rows > 0 ? pattern : nullptr;
}

const PatternCell* moduleRowCells(const Module* module, int32_t orderPosition, int32_t row) {
    const Pattern* pattern = modulePatternAt(module, orderPosition);
    if (!pattern || row < 0 || row >= pattern->rows || module->channelCount <= 0) return nullptr;
    return pattern->cells + static_cast<int64_t>(row) * module->channelCount;
}

const Instrument* channelInstrument(const Module* module, const Channel* channel) {
    if (!module->instruments || channel->instrument >= module->instrumentCount) return &emptyInstrument;
    return &module->instruments[channel->instrument];
}

Sample* channelSample(const Channel* channel, const Instrument* instrument) {
    if (instrument == &emptyInstrument || channel->note >= NoteCount) return &emptySample;
    const uint8_t slot = instrument->keymap[channel->note];
    if (slot >= MaxSamplesPerInstrument || !instrument->samples[slot]) return &emptySample;
    return instrument->samples[slot];
}
