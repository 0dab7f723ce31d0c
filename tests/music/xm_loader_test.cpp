#include <gtest/gtest.h>

#include <vector>

#include "music/module_source.h"
#include "music/xm_loader.h"
#include "tests/support/xm_writer.h"

namespace {

// Records where the loader left the stream when it closed it.
int32_t positionAtClose;
void closeAndRecord(void* source) {
    positionAtClose = sourceTell(source);
    sourceClose(source);
}

Module* loadTracked(const std::vector<uint8_t>& bytes, SampleDecoder decoder = nullptr) {
    setSourceCallbacks(sourceOpen, closeAndRecord, sourceRead, sourceSeek, sourceTell);
    sourceSetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    positionAtClose = -1;
    Module* module = moduleLoad("song.xm", decoder);
    sourceSetData(nullptr, 0);
    return module;
}

// A module freed at the end of the test.
struct Loaded {
    Module* module;
    explicit Loaded(Module* loaded) : module(loaded) {}
    ~Loaded() { moduleFree(module); }
    Module* operator->() const { return module; }
};

XmInstrument instrumentWith(std::vector<XmSample> samples) {
    XmInstrument instrument;
    instrument.samples = std::move(samples);
    return instrument;
}

std::vector<int8_t> ramp8(int count) {
    std::vector<int8_t> values;
    for (int i = 0; i < count; ++i) values.push_back(static_cast<int8_t>(i * 3 - 60));
    return values;
}

} // namespace

TEST(XmLoader, ReadsTheSongHeader) {
    XmSong song;
    song.orders = {4, 2, 3, 1, 1, 2, 3, 1, 0};
    song.patterns.resize(5);
    song.restartPosition = 2;
    song.channels = 4;
    song.tempo = 6;
    song.bpm = 125;
    song.flags = 1;
    for (int i = 0; i < 23; ++i) song.instruments.push_back(XmInstrument{});
    std::vector<uint8_t> bytes = xmWrite(song);
    Loaded module(loadTracked(bytes));
    ASSERT_NE(module.module, nullptr) << moduleLoadError();
    EXPECT_STREQ(moduleLoadError(), "");
    EXPECT_EQ(module->songLength, 9);
    EXPECT_EQ(module->restartPosition, 2);
    EXPECT_EQ(module->channelCount, 4);
    EXPECT_EQ(module->patternsUsed, 5);
    EXPECT_EQ(module->patternSlotCount, 5);
    EXPECT_EQ(module->instrumentCount, 23);
    EXPECT_EQ(module->flags, 1);
    EXPECT_EQ(module->defaultTempo, 6);
    EXPECT_EQ(module->defaultBpm, 125);
    EXPECT_EQ(module->orderTable[0], 4);
    EXPECT_EQ(module->orderTable[8], 0);
    EXPECT_EQ(module->initialGlobalVolume, 64);
    EXPECT_EQ(module->next, module.module);
    EXPECT_EQ(module->prev, module.module);
    EXPECT_EQ(module->channels, nullptr);
    EXPECT_EQ(module->patterns[4].rows, 64);
    EXPECT_EQ(positionAtClose, static_cast<int32_t>(bytes.size())); // every byte consumed
}

TEST(XmLoader, OrderEntriesBeyondTheStoredPatternsGetEmptySlots) {
    XmSong song;
    song.orders = {0, 7, 2, 9}; // 9 lies beyond the song length
    song.songLength = 3;
    song.patterns.resize(5);
    song.patterns[3].rows = 32;
    Loaded module(xmLoadBytes(xmWrite(song)));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(module->patternsUsed, 8);
    EXPECT_EQ(module->patternSlotCount, 8);
    EXPECT_EQ(module->patterns[3].rows, 32);
    for (int i = 5; i < 8; ++i) {
        ASSERT_EQ(module->patterns[i].rows, 64);
        for (int c = 0; c < 64 * 4; ++c) ASSERT_EQ(module->patterns[i].cells[c].note, 0);
    }
}

TEST(XmLoader, DecodesPackedAndPlainCells) {
    XmSong song;
    song.channels = 2;
    song.orders = {0, 1};
    song.cell(0, 0, 0) = {0x31, 2, 0, 0, 0};     // packed as 0x83 0x31 0x02
    song.cell(0, 0, 1) = {12, 0x81, 0x10, 0, 0}; // instrument above 128 becomes 0
    song.cell(0, 5, 1) = {97, 0x80, 0x55, 0x0C, 0x20};
    song.cell(1, 0, 0) = {0x61, 1, 0, 0, 0}; // plain cell: key-off
    song.cell(1, 1, 1) = {50, 3, 0x30, 0x0A, 0xF1};
    song.patterns[1].packing = XmPacking::Unpacked;
    song.patterns[1].rows = 2;
    Loaded module(xmLoadBytes(xmWrite(song)));
    ASSERT_NE(module.module, nullptr);
    const PatternCell* cells = module->patterns[0].cells;
    EXPECT_EQ(cells[0].note, 0x31);
    EXPECT_EQ(cells[0].instrument, 2);
    EXPECT_EQ(cells[0].volume | cells[0].effect | cells[0].parameter, 0);
    EXPECT_EQ(cells[1].instrument, 0);
    EXPECT_EQ(cells[1].volume, 0x10);
    EXPECT_EQ(cells[5 * 2 + 1].note, NoteKeyOff);
    EXPECT_EQ(cells[5 * 2 + 1].instrument, 128);
    EXPECT_EQ(cells[5 * 2 + 1].effect, 0x0C);
    EXPECT_EQ(cells[5 * 2 + 1].parameter, 0x20);
    const Pattern& plain = module->patterns[1];
    EXPECT_EQ(plain.rows, 2);
    EXPECT_EQ(plain.cells[0].note, NoteKeyOff);
    EXPECT_EQ(plain.cells[0].instrument, 1);
    EXPECT_EQ(plain.cells[3].note, 50);
    EXPECT_EQ(plain.cells[3].volume, 0x30);
    EXPECT_EQ(plain.cells[3].parameter, 0xF1);
}

TEST(XmLoader, APatternWithoutDataIsEmptyAndReadsNothing) {
    XmSong song;
    song.orders = {0, 1};
    song.patterns.resize(2);
    song.patterns[0].rows = 17;
    song.patterns[0].packing = XmPacking::NoData;
    song.cell(1, 3, 2) = {60, 1, 0, 0, 0};
    Loaded module(xmLoadBytes(xmWrite(song)));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(module->patterns[0].rows, 17);
    for (int c = 0; c < 17 * 4; ++c) ASSERT_EQ(module->patterns[0].cells[c].note, 0);
    EXPECT_EQ(module->patterns[1].cells[3 * 4 + 2].note, 60);
}

TEST(XmLoader, NormalisesLoops) {
    struct Case {
        uint8_t type;
        uint32_t lengthBytes, loopStartBytes, loopLengthBytes;
        uint32_t length, loopStart, loopLength;
        uint8_t loopMode;
    } cases[] = {
        {0x00, 40, 4, 8, 40, 0, 40, LoopNone},
        {0x01, 40, 4, 0, 40, 0, 40, LoopNone}, // a loop of length 0 is no loop
        {0x01, 40, 4, 8, 40, 4, 8, LoopForward},
        {0x02, 40, 4, 8, 40, 4, 8, LoopPingPong},
        {0x03, 40, 4, 8, 40, 4, 8, LoopPingPong},
        {0x11, 100, 20, 40, 50, 10, 20, LoopForward},
        {0x10, 100, 20, 40, 50, 0, 50, LoopNone},
        {0x12, 100, 20, 1, 50, 0, 50, LoopNone}, // half a value of loop is none
    };
    for (const Case& c : cases) {
        XmSample sample;
        sample.type = c.type;
        sample.lengthBytes = c.lengthBytes;
        sample.loopStartBytes = c.loopStartBytes;
        sample.loopLengthBytes = c.loopLengthBytes;
        sample.data.assign(c.lengthBytes, 1);
        XmSong song;
        // A second sample after it shows that exactly the sample's bytes were read.
        song.instruments.push_back(instrumentWith({sample, xmSample8({5, 6})}));
        Loaded module(xmLoadBytes(xmWrite(song)));
        ASSERT_NE(module.module, nullptr);
        const Sample* loaded = module->instruments[0].samples[0];
        SCOPED_TRACE(static_cast<int>(c.type));
        EXPECT_EQ(loaded->length, c.length);
        EXPECT_EQ(loaded->loopStart, c.loopStart);
        EXPECT_EQ(loaded->loopLength, c.loopLength);
        EXPECT_EQ(loaded->loopMode, c.loopMode);
        EXPECT_EQ(loaded->bits, 16);
        EXPECT_EQ(module->instruments[0].samples[1]->data[1], 6 * 256);
    }
}

TEST(XmLoader, UndoesTheDeltaCoding) {
    XmSample bytes8;
    bytes8.lengthBytes = 3;
    bytes8.data = {0x01, 0x01, 0xFE};
    XmSample bytes16;
    bytes16.type = 0x10;
    bytes16.lengthBytes = 4;
    bytes16.data = {0xFF, 0x7F, 0x01, 0x00};
    XmSong song;
    song.instruments.push_back(instrumentWith({bytes8, bytes16}));
    Loaded module(xmLoadBytes(xmWrite(song)));
    ASSERT_NE(module.module, nullptr);
    const Sample* first = module->instruments[0].samples[0];
    EXPECT_EQ(first->data[0], 256);
    EXPECT_EQ(first->data[1], 512);
    EXPECT_EQ(first->data[2], 0);
    const Sample* second = module->instruments[0].samples[1];
    EXPECT_EQ(second->data[0], 32767);
    EXPECT_EQ(second->data[1], -32768);
}

TEST(XmLoader, WritesTheGuardValueAtTheLoopEnd) {
    XmSong song;
    song.instruments.push_back(
        instrumentWith({xmSample8(ramp8(46), XmLoop::Forward, 2, 28),
                        xmSample8(ramp8(46), XmLoop::PingPong, 2, 28), xmSample8(ramp8(120))}));
    Loaded module(xmLoadBytes(xmWrite(song)));
    ASSERT_NE(module.module, nullptr);
    Sample* const* samples = module->instruments[0].samples;
    EXPECT_EQ(samples[0]->data[30], samples[0]->data[2]);
    EXPECT_EQ(samples[0]->data[31], ramp8(46)[31] * 256); // past the guard the sample is intact
    EXPECT_EQ(samples[1]->data[30], samples[1]->data[29]);
    EXPECT_EQ(samples[2]->data[120], samples[2]->data[0]);
    for (int k = 121; k < 128; ++k) EXPECT_EQ(samples[2]->data[k], 0) << k;
}

TEST(XmLoader, ReadsInstrumentFieldsAndEnvelopes) {
    XmInstrument instrument;
    for (int n = 0; n < 96; ++n) instrument.keymap[n] = static_cast<uint8_t>(n % 2);
    instrument.volumeEnvelope.points = {{0, 64}, {10, 32}, {30, 0}};
    instrument.volumeEnvelope.sustain = 1;
    instrument.volumeEnvelope.loopStart = 0;
    instrument.volumeEnvelope.loopEnd = 2;
    instrument.volumeEnvelope.type = EnvelopeOn | EnvelopeSustain | EnvelopeLoop;
    instrument.panningEnvelope.points = {{0, 32}};
    instrument.panningEnvelope.type = 0x05; // one point: off
    instrument.vibratoType = 2;
    instrument.vibratoSweep = 3;
    instrument.vibratoDepth = 4;
    instrument.vibratoRate = 5;
    instrument.fadeout = 0x0800;
    XmSample first = xmSample8({1, 2});
    first.volume = 40;
    first.finetune = -16;
    first.panning = 200;
    first.relativeNote = -12;
    instrument.samples = {first, xmSample8({3})};
    XmInstrument wrapping = instrumentWith({xmSample8({1})});
    wrapping.fadeout = 0x8001;
    XmSong song;
    song.instruments = {instrument, wrapping};
    Loaded module(xmLoadBytes(xmWrite(song)));
    ASSERT_NE(module.module, nullptr);
    const Instrument& loaded = module->instruments[0];
    EXPECT_EQ(loaded.sampleCount, 2);
    EXPECT_EQ(loaded.keymap[95], 1);
    EXPECT_EQ(loaded.volumePointCount, 3);
    EXPECT_EQ(loaded.volumePoints[1].position, 10);
    EXPECT_EQ(loaded.volumePoints[1].value, 32);
    EXPECT_EQ(loaded.volumeSustain, 1);
    EXPECT_EQ(loaded.volumeLoopEnd, 2);
    EXPECT_EQ(loaded.volumeType, EnvelopeOn | EnvelopeSustain | EnvelopeLoop);
    EXPECT_EQ(loaded.panningPointCount, 1);
    EXPECT_EQ(loaded.panningType, 0);
    EXPECT_EQ(loaded.vibratoType, 2);
    EXPECT_EQ(loaded.vibratoRate, 5);
    EXPECT_EQ(loaded.fadeout, 0x1000);
    EXPECT_EQ(module->instruments[1].fadeout, 0x0002);
    const Sample* sample = loaded.samples[0];
    EXPECT_EQ(sample->volume, 40);
    EXPECT_EQ(sample->finetune, -16);
    EXPECT_EQ(sample->panning, 200);
    EXPECT_EQ(sample->relativeNote, -12);
    for (int j = 2; j < 16; ++j) EXPECT_EQ(loaded.samples[j], &emptySample);
}

TEST(XmLoader, InstrumentsWithoutSamplesAndEmptySamples) {
    XmInstrument bare;
    bare.headerSize = 33; // the next instrument begins right after these 33 bytes
    XmSample silent;      // length 0: no data, no bytes read
    XmSong song;
    song.instruments = {bare, instrumentWith({silent, xmSample8({7, 8, 9})}), bare};
    std::vector<uint8_t> bytes = xmWrite(song);
    Loaded module(loadTracked(bytes));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(module->instruments[0].sampleCount, 0);
    for (Sample* slot : module->instruments[0].samples) EXPECT_EQ(slot, &emptySample);
    const Instrument& second = module->instruments[1];
    EXPECT_EQ(second.samples[0]->length, 0u);
    EXPECT_EQ(second.samples[0]->data, nullptr);
    EXPECT_EQ(second.samples[1]->data[2], 9 * 256);
    EXPECT_EQ(positionAtClose, static_cast<int32_t>(bytes.size()));
}

TEST(XmLoader, SixteenSamplesFillEverySlotAndSeventeenFailTheLoad) {
    std::vector<XmSample> samples(16, xmSample8({1, 2, 3}));
    XmSong song;
    song.orders = {0};
    song.instruments = {instrumentWith(samples), instrumentWith(samples)};
    {
        Loaded module(xmLoadBytes(xmWrite(song)));
        ASSERT_NE(module.module, nullptr);
        for (Sample* slot : module->instruments[0].samples) EXPECT_NE(slot, &emptySample);
    }
    song.instruments[1].samples.push_back(xmSample8({4}));
    EXPECT_EQ(xmLoadBytes(xmWrite(song)), nullptr); // the leak checker sees what stays allocated
    EXPECT_STREQ(moduleLoadError(), "too many samples in an instrument");
}

namespace {
struct DecoderCall {
    int32_t byteCount, bits, instrument, sample;
};
std::vector<DecoderCall> decoderCalls;
void recordingDecoder(uint8_t* destination, int32_t byteCount, int32_t bits, int32_t instrument,
                      int32_t sample) {
    decoderCalls.push_back({byteCount, bits, instrument, sample});
    for (int32_t i = 0; i < byteCount; ++i) destination[i] = static_cast<uint8_t>(i + 1);
}
} // namespace

TEST(XmLoader, ASampleDecoderSuppliesPlainValuesAndTheStreamStaysInStep) {
    XmSong song;
    song.instruments = {instrumentWith({xmSample8(ramp8(5)), xmSample16({1, 2, 3})}),
                        instrumentWith({xmSample8(ramp8(4), XmLoop::Forward, 1, 2)})};
    std::vector<uint8_t> bytes = xmWrite(song);
    decoderCalls.clear();
    Loaded module(loadTracked(bytes, recordingDecoder));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(positionAtClose, static_cast<int32_t>(bytes.size()));
    ASSERT_EQ(decoderCalls.size(), 3u);
    EXPECT_EQ(decoderCalls[0].byteCount, 5);
    EXPECT_EQ(decoderCalls[0].bits, 8);
    EXPECT_EQ(decoderCalls[1].byteCount, 6);
    EXPECT_EQ(decoderCalls[1].bits, 16);
    EXPECT_EQ(decoderCalls[1].sample, 1);
    EXPECT_EQ(decoderCalls[2].instrument, 1);
    EXPECT_EQ(decoderCalls[2].sample, 0);
    // Plain values, widened but not delta-decoded.
    EXPECT_EQ(module->instruments[0].samples[0]->data[4], 5 * 256);
    EXPECT_EQ(module->instruments[0].samples[1]->data[0], 0x0201);
    EXPECT_EQ(module->instruments[0].samples[1]->data[2], 0x0605);
    EXPECT_EQ(module->instruments[1].samples[0]->data[3], 2 * 256); // guard: the loop's first value
}

TEST(XmLoader, FreeOfNullIsFalse) {
    EXPECT_FALSE(moduleFree(nullptr));
}
