// xmtool info FILE [--json]: what a module holds, as the loader sees it.

#include <cstdio>
#include <cstring>

#include "music/xm_loader.h"
#include "tools/xmtool/tool_common.h"
#include "tools/xmtool/verbs.h"

const char* const InfoUsage =
    "FILE [--json]   the module's header, order list and samples (--json: one JSON object)";

namespace {

// The loader widens every sample to 16 bits; the width the file stores is seen by a decoder, which
// here supplies silence since info needs no sample values.
uint8_t storedBits[128][MaxSamplesPerInstrument];

void recordWidth(uint8_t* /*destination*/, int32_t /*byteCount*/, int32_t bits, int32_t instrument,
                 int32_t sample) {
    if (instrument >= 0 && instrument < 128 && sample >= 0 && sample < MaxSamplesPerInstrument)
        storedBits[instrument][sample] = static_cast<uint8_t>(bits);
}

int sampleBits(const Sample* sample, int instrument, int index) {
    return sample->length ? storedBits[instrument][index] : sample->bits;
}

// The number of patterns that the file stores, which the module does not keep.
int storedPatternCount(const char* path) {
    FILE* file = fopen(path, "rb");
    if (!file) return 0;
    uint8_t bytes[2] = {};
    int count =
        fseek(file, 70, SEEK_SET) == 0 && fread(bytes, 1, 2, file) == 2 ? bytes[0] | bytes[1] << 8 : 0;
    fclose(file);
    return count;
}

const char* loopName(uint8_t loopMode) {
    switch (loopMode) {
    case LoopForward:
        return "forward";
    case LoopPingPong:
        return "pingpong";
    default:
        return "none";
    }
}

void printText(const Module* module, const char* path, int storedPatterns) {
    printf("file              %s\n", path);
    printf("channels          %d\n", module->channelCount);
    printf("patterns          %d stored, %d slots\n", storedPatterns, module->patternSlotCount);
    printf("instruments       %d\n", module->instrumentCount);
    printf("song length       %d\n", module->songLength);
    printf("restart position  %d\n", module->restartPosition);
    printf("frequency table   %s\n", module->flags & 1 ? "linear" : "amiga");
    printf("tempo             %d\n", module->defaultTempo);
    printf("bpm               %d\n", module->defaultBpm);
    printf("orders           ");
    for (int i = 0; i < module->songLength; ++i) printf(" %d", module->orderTable[i]);
    printf("\n");
    for (int i = 0; i < module->instrumentCount; ++i) {
        const Instrument& instrument = module->instruments[i];
        printf("instrument %3d    %d sample%s\n", i + 1, instrument.sampleCount,
               instrument.sampleCount == 1 ? "" : "s");
        for (int j = 0; j < instrument.sampleCount; ++j) {
            const Sample* sample = instrument.samples[j];
            printf("  sample %2d       length %u, loop %s", j, sample->length, loopName(sample->loopMode));
            if (sample->loopMode != LoopNone)
                printf(" from %u for %u", sample->loopStart, sample->loopLength);
            printf(", %d-bit, volume %d, finetune %d, relative note %d, panning %d\n",
                   sampleBits(sample, i, j), sample->volume, sample->finetune, sample->relativeNote,
                   static_cast<int>(sample->panning));
        }
    }
}

void printJson(const Module* module, int storedPatterns) {
    printf("{\n");
    printf("  \"channels\": %d,\n", module->channelCount);
    printf("  \"patterns\": %d,\n", storedPatterns);
    printf("  \"patternSlots\": %d,\n", module->patternSlotCount);
    printf("  \"instruments\": %d,\n", module->instrumentCount);
    printf("  \"songLength\": %d,\n", module->songLength);
    printf("  \"restartPosition\": %d,\n", module->restartPosition);
    printf("  \"linearFrequencies\": %s,\n", module->flags & 1 ? "true" : "false");
    printf("  \"tempo\": %d,\n", module->defaultTempo);
    printf("  \"bpm\": %d,\n", module->defaultBpm);
    printf("  \"orders\": [");
    for (int i = 0; i < module->songLength; ++i) printf("%s%d", i ? ", " : "", module->orderTable[i]);
    printf("],\n");
    printf("  \"samples\": [");
    bool first = true;
    for (int i = 0; i < module->instrumentCount; ++i) {
        const Instrument& instrument = module->instruments[i];
        for (int j = 0; j < instrument.sampleCount; ++j) {
            const Sample* sample = instrument.samples[j];
            printf("%s\n    {\"instrument\": %d, \"sample\": %d, \"length\": %u, \"loopMode\": \"%s\", "
                   "\"loopStart\": %u, \"loopLength\": %u, \"bits\": %d, \"volume\": %d, \"finetune\": %d, "
                   "\"relativeNote\": %d, \"panning\": %d}",
                   first ? "" : ",", i + 1, j, sample->length, loopName(sample->loopMode), sample->loopStart,
                   sample->loopLength, sampleBits(sample, i, j), sample->volume, sample->finetune,
                   sample->relativeNote, static_cast<int>(sample->panning));
            first = false;
        }
    }
    printf("%s]\n}\n", first ? "" : "\n  ");
}

} // namespace

int infoMain(int argc, char** argv) {
    const char* path = nullptr;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        if (toolIsHelp(argv[i])) {
            printf("usage: xmtool info %s\n", InfoUsage);
            return ExitOk;
        }
        if (strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            return toolUsageError("info: unknown option");
        } else if (!path) {
            path = argv[i];
        } else {
            return toolUsageError("info: one file only");
        }
    }
    if (!path) return toolUsageError("info: no file given");

    memset(storedBits, 0, sizeof storedBits);
    Module* module = toolLoadModule(path, recordWidth);
    if (!module) return ExitFailure;
    int storedPatterns = storedPatternCount(path);
    if (json) {
        printJson(module, storedPatterns);
    } else {
        printText(module, path, storedPatterns);
    }
    moduleFree(module);
    return ExitOk;
}
