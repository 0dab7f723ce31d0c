// Loads arbitrary bytes as an XM module through the in-memory reader callbacks. A loaded module must keep
// the loader's promises to the replay engine and the mixer; those are checked here, where a sanitizer
// alone would not see a broken one.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "music/module_source.h"
#include "music/xm_loader.h"

namespace {

void require(bool condition) {
    if (!condition) abort();
}

void checkSample(const Sample* sample) {
    require(sample != nullptr);
    if (sample == &emptySample || sample->length == 0) return;
    require(sample->data != nullptr);
    require(sample->loopLength > 0);
    require(static_cast<uint64_t>(sample->loopStart) + sample->loopLength <= sample->length);
    // The mixer reads up to the guard value at the loop's end; touching it shows it lies in the buffer.
    volatile int16_t guard = sample->data[sample->loopStart + sample->loopLength];
    (void)guard;
}

void checkModule(const Module* module) {
    require(module->channelCount >= 1 && module->channelCount <= 256);
    require(module->songLength >= 0 && module->songLength <= 256);
    for (int i = 0; i < module->songLength; ++i) require(module->orderTable[i] < module->patternSlotCount);
    for (int i = 0; i < module->patternSlotCount; ++i) {
        const Pattern& pattern = module->patterns[i];
        require(pattern.rows >= 1 && pattern.rows <= 256 && pattern.cells != nullptr);
        volatile uint8_t last = pattern.cells[pattern.rows * module->channelCount - 1].note;
        (void)last;
    }
    require(module->instrumentCount >= 0 && module->instrumentCount <= 128);
    for (int i = 0; i < module->instrumentCount; ++i) {
        const Instrument& instrument = module->instruments[i];
        require(instrument.volumePointCount <= 12 && instrument.panningPointCount <= 12);
        for (const Sample* sample : instrument.samples) checkSample(sample);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sourceRegister();
    sourceSetData(data, static_cast<uint32_t>(size));
    Module* module = moduleLoad("fuzz.xm", nullptr);
    sourceSetData(nullptr, 0);
    if (module) checkModule(module);
    moduleFree(module);
    return 0;
}
