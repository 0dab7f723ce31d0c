#include "music/xm_loader.h"

#include <cstdlib>
#include <cstring>

#include "audio/audio_output.h"
#include "music/replay.h"
#include "music/xm_reader.h"

namespace {

const char* lastLoadError = "";

const uint8_t Signature[17] = {'E', 'x', 't', 'e', 'n', 'd', 'e', 'd', ' ',
                               'M', 'o', 'd', 'u', 'l', 'e', ':', ' '};

constexpr int32_t SongHeaderOffset = 60;
constexpr int32_t SongFieldsSize = 20; // header size, then eight 16-bit fields
constexpr int32_t OrderTableSize = 256;
constexpr int32_t MaxChannels = 256;
constexpr int32_t MaxPatterns = 256;
constexpr int32_t MaxInstruments = 128; // cells name instruments 1 to 128 only

// The mixer thread calls it once per tick while the module plays.
TickHandler playbackTickHandler() {
    return moduleTick;
}

// Takes a playing module out of the started modules and stops its voices, so that the mixer thread no
// longer reaches it or its samples.
void detachFromPlayback(Module* module) {
    moduleStop(module);
}

void patternsFree(Module* module) {
    if (!module->patterns) return;
    for (int32_t i = 0; i < module->patternSlotCount; ++i) free(module->patterns[i].cells);
    free(module->patterns);
    module->patterns = nullptr;
}

void instrumentsFree(Module* module) {
    if (!module->instruments) return;
    for (int32_t i = 0; i < module->instrumentCount; ++i) {
        Instrument& instrument = module->instruments[i];
        for (int32_t j = 0; j < instrument.sampleCount && j < MaxSamplesPerInstrument; ++j) {
            Sample* sample = instrument.samples[j];
            if (!sample || sample == &emptySample) continue;
            free(sample->data);
            free(sample);
        }
    }
    free(module->instruments);
    module->instruments = nullptr;
}

} // namespace

int64_t xmTell(XmReader& reader) {
    return streamTell(reader.stream);
}

void xmSeek(XmReader& reader, int64_t position) {
    if (position < 0) position = 0;
    if (position > reader.size) position = reader.size;
    streamSeek(reader.stream, static_cast<int32_t>(position), SeekSet);
}

bool xmRead(XmReader& reader, uint8_t* destination, int64_t count) {
    if (count <= 0) return true;
    int64_t available = xmRemaining(reader);
    int32_t wanted = static_cast<int32_t>(count < available ? count : (available > 0 ? available : 0));
    int32_t got = wanted > 0 ? streamRead(destination, wanted, reader.stream) : 0;
    if (got < 0) got = 0;
    if (got < count) memset(destination + got, 0, static_cast<size_t>(count - got));
    return got == count;
}

bool xmParse(Module* module, SourceStream* stream) {
    if (!module || !stream) return false;
    XmReader reader{stream, 0, "truncated"};
    reader.size = streamSeek(stream, 0, SeekEnd) >= 0 ? streamTell(stream) : 0;

    uint8_t signature[sizeof Signature];
    xmSeek(reader, 0);
    if (!xmRead(reader, signature, sizeof signature) || memcmp(signature, Signature, sizeof Signature) != 0) {
        lastLoadError = "not an XM module";
        return false;
    }
    module->tickHandler = playbackTickHandler();
    module->initialGlobalVolume = 64;

    uint8_t header[SongFieldsSize + OrderTableSize];
    xmSeek(reader, SongHeaderOffset);
    bool complete = xmRead(reader, header, sizeof header);
    int64_t headerEnd = xmTell(reader);
    uint32_t headerSize = xmU32(header);
    uint16_t songLength = xmU16(header + 4);
    uint16_t channelCount = xmU16(header + 8);
    uint16_t storedPatterns = xmU16(header + 10);
    uint16_t instrumentCount = xmU16(header + 12);

    // A short song header holds fewer order entries than the table's 256; what follows it is not part
    // of the order table, and the song cannot be longer than the entries it holds.
    int64_t orderEntries = static_cast<int64_t>(headerSize) - SongFieldsSize;
    if (orderEntries < 0) orderEntries = 0;
    if (orderEntries > OrderTableSize) orderEntries = OrderTableSize;
    if (songLength > orderEntries) songLength = static_cast<uint16_t>(orderEntries);
    if (!complete && headerEnd < SongHeaderOffset + SongFieldsSize + songLength) {
        lastLoadError = "truncated";
        return false;
    }
    if (channelCount == 0) {
        lastLoadError = "no channels";
        return false;
    }
    if (channelCount > MaxChannels) {
        lastLoadError = "too many channels";
        return false;
    }
    if (storedPatterns > MaxPatterns) {
        lastLoadError = "too many patterns";
        return false;
    }

    module->songLength = static_cast<int16_t>(songLength);
    module->restartPosition = static_cast<int16_t>(xmU16(header + 6));
    module->channelCount = static_cast<int16_t>(channelCount);
    module->instrumentCount =
        static_cast<int16_t>(instrumentCount > MaxInstruments ? MaxInstruments : instrumentCount);
    module->flags = xmU16(header + 14);
    module->defaultTempo = static_cast<int16_t>(xmU16(header + 16));
    module->defaultBpm = static_cast<int16_t>(xmU16(header + 18));
    memcpy(module->orderTable, header + SongFieldsSize, static_cast<size_t>(orderEntries));

    xmSeek(reader, SongHeaderOffset + static_cast<int64_t>(headerSize));
    if (!xmReadPatterns(reader, module, storedPatterns) || !xmReadInstruments(reader, module)) {
        lastLoadError = reader.error;
        return false;
    }
    return true;
}

Module* moduleLoad(const char* name, SampleDecoder decoder) {
    auto* module = static_cast<Module*>(calloc(1, sizeof(Module)));
    if (!module) {
        lastLoadError = "out of memory";
        return nullptr;
    }
    module->next = module;
    module->prev = module;
    SourceStream* stream = streamOpen(name);
    if (!stream) {
        free(module);
        lastLoadError = "cannot open the module";
        return nullptr;
    }
    module->sampleDecoder = decoder;
    bool parsed = xmParse(module, stream);
    streamClose(stream);
    if (!parsed) {
        moduleFree(module);
        return nullptr;
    }
    lastLoadError = "";
    return module;
}

const char* moduleLoadError() {
    return lastLoadError;
}

bool moduleFree(Module* module) {
    if (!module) return false;
    // The mixer thread is held off until the module is out of its reach and its records are gone.
    audioLockMixer();
    detachFromPlayback(module);
    instrumentsFree(module);
    patternsFree(module);
    audioUnlockMixer();
    free(module);
    return true;
}
