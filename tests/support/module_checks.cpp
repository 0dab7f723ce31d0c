#include "tests/support/module_checks.h"

namespace {

std::string checkEnvelope(int count, int sustain, int loopStart, int loopEnd, int type) {
    if (count > FileEnvelopePoints) return "envelope with more than 12 points";
    if (count < 2 && type != 0) return "envelope of fewer than 2 points switched on";
    if ((type & EnvelopeSustain) && sustain >= count) return "sustain point beyond the envelope";
    if ((type & EnvelopeLoop) && (loopStart >= count || loopEnd >= count))
        return "loop point beyond the envelope";
    if (sustain >= MaxEnvelopePoints || loopStart >= MaxEnvelopePoints || loopEnd >= MaxEnvelopePoints)
        return "envelope index beyond the point array";
    return "";
}

std::string checkSample(const Sample* sample) {
    if (!sample) return "null sample slot";
    if (sample == &emptySample) return "";
    if (sample->length == 0) return sample->data ? "data for a sample of length 0" : "";
    if (!sample->data) return "sample without data";
    if (sample->bits != 16) return "sample not widened to 16 bits";
    if (sample->loopMode != LoopNone && sample->loopMode != LoopForward && sample->loopMode != LoopPingPong)
        return "unknown loop mode";
    if (sample->loopLength == 0) return "loop of length 0";
    if (static_cast<uint64_t>(sample->loopStart) + sample->loopLength > sample->length)
        return "loop beyond the sample";
    if (sample->loopMode == LoopNone && (sample->loopStart != 0 || sample->loopLength != sample->length))
        return "no loop that does not cover the sample";
    if (sample->volume > 64) return "sample volume above 64";
    return "";
}

} // namespace

std::string moduleCheckInvariants(const Module* module) {
    if (!module) return "no module";
    if (module->next != module || module->prev != module) return "a new module is not self-linked";
    if (module->channelCount < 1 || module->channelCount > 256) return "channel count out of range";
    if (module->songLength < 0 || module->songLength > 256) return "song length out of range";
    if (module->instrumentCount < 0 || module->instrumentCount > 128) return "instrument count out of range";
    if (module->patternSlotCount < module->patternsUsed) return "fewer pattern slots than patterns used";
    if (module->patternSlotCount > 0 && !module->patterns) return "no pattern array";
    for (int i = 0; i < module->songLength; ++i)
        if (module->orderTable[i] >= module->patternSlotCount) return "order entry without a pattern";
    for (int i = 0; i < module->patternSlotCount; ++i) {
        const Pattern& pattern = module->patterns[i];
        if (pattern.rows < 1 || pattern.rows > 256) return "pattern row count out of range";
        if (!pattern.cells) return "pattern without cells";
        for (int c = 0; c < pattern.rows * module->channelCount; ++c) {
            const PatternCell& cell = pattern.cells[c];
            if (cell.instrument > 128) return "instrument number above 128";
            if (cell.note == 97) return "key-off left as 97";
        }
    }
    if (module->instrumentCount > 0 && !module->instruments) return "no instrument array";
    for (int i = 0; i < module->instrumentCount; ++i) {
        const Instrument& instrument = module->instruments[i];
        if (instrument.sampleCount < 0 || instrument.sampleCount > MaxSamplesPerInstrument)
            return "sample count out of range";
        for (int j = 0; j < MaxSamplesPerInstrument; ++j) {
            const Sample* sample = instrument.samples[j];
            if (j >= instrument.sampleCount && sample != &emptySample)
                return "unused slot not the empty sample";
            std::string problem = checkSample(sample);
            if (!problem.empty()) return problem;
        }
        std::string problem =
            checkEnvelope(instrument.volumePointCount, instrument.volumeSustain, instrument.volumeLoopStart,
                          instrument.volumeLoopEnd, instrument.volumeType);
        if (problem.empty())
            problem =
                checkEnvelope(instrument.panningPointCount, instrument.panningSustain,
                              instrument.panningLoopStart, instrument.panningLoopEnd, instrument.panningType);
        if (!problem.empty()) return problem;
    }
    return "";
}
