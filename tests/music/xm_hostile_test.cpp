// Damaged and hostile files: the loader either refuses them with a reason or loads a module that keeps
// every promise the replay engine and the mixer rely on, and never reads or writes out of bounds.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "music/xm_loader.h"
#include "tests/support/module_checks.h"
#include "tests/support/xm_writer.h"

namespace {

constexpr size_t FirstPatternOffset = 336; // after a song header of the usual 276 bytes

struct Loaded {
    Module* module;
    explicit Loaded(const std::vector<uint8_t>& bytes) : module(xmLoadBytes(bytes)) {}
    ~Loaded() { moduleFree(module); }
    Module* operator->() const { return module; }
};

void put32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<int8_t> values8(int count) {
    std::vector<int8_t> values;
    for (int i = 0; i < count; ++i) values.push_back(static_cast<int8_t>(i));
    return values;
}

XmInstrument instrumentWith(std::vector<XmSample> samples) {
    XmInstrument instrument;
    instrument.samples = std::move(samples);
    return instrument;
}

// A song that touches every part of the format, for the sweeps below.
XmSong richSong() {
    XmSong song;
    song.channels = 3;
    song.orders = {0, 1, 2, 1};
    song.cell(0, 0, 0) = {49, 1, 0x40, 0x0C, 0x20};
    song.cell(0, 1, 2) = {97, 0, 0, 0, 0};
    song.cell(1, 3, 1) = {60, 2, 0, 0x01, 0x03};
    song.patterns[1].rows = 8;
    song.patterns[1].packing = XmPacking::Unpacked;
    song.cell(2, 0, 0) = {};
    song.patterns[2].packing = XmPacking::NoData;
    XmInstrument first = instrumentWith({xmSample8(values8(40), XmLoop::Forward, 10, 20),
                                         xmSample16({100, -200, 300, -400, 500}, XmLoop::PingPong, 1, 3)});
    first.volumeEnvelope.points = {{0, 64}, {4, 32}, {8, 48}, {16, 0}};
    first.volumeEnvelope.sustain = 1;
    first.volumeEnvelope.loopStart = 1;
    first.volumeEnvelope.loopEnd = 2;
    first.volumeEnvelope.type = EnvelopeOn | EnvelopeSustain | EnvelopeLoop;
    first.panningEnvelope.points = {{0, 0}, {10, 64}};
    first.panningEnvelope.type = EnvelopeOn;
    first.fadeout = 300;
    XmInstrument second = instrumentWith({xmSample8(values8(17))});
    song.instruments = {first, XmInstrument{}, second};
    return song;
}

} // namespace

TEST(XmHostile, RefusesWhatIsNotAnXmModule) {
    std::vector<uint8_t> good = xmWrite(XmSong{});
    std::vector<uint8_t> wrongSignature = good;
    wrongSignature[16] = '!';
    struct Case {
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {{}, "not an XM module"},
        {std::vector<uint8_t>(good.begin(), good.begin() + 16), "not an XM module"},
        {wrongSignature, "not an XM module"},
        {std::vector<uint8_t>(good.begin(), good.begin() + 17), "truncated"},
        {std::vector<uint8_t>(good.begin(), good.begin() + 79), "truncated"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(xmLoadBytes(c.bytes), nullptr) << c.bytes.size();
        EXPECT_STREQ(moduleLoadError(), c.reason) << c.bytes.size();
    }
    // The fields and no order entry are enough for a song of length 0.
    Loaded bare(std::vector<uint8_t>(good.begin(), good.begin() + 80));
    EXPECT_NE(bare.module, nullptr) << moduleLoadError();
}

TEST(XmHostile, ChannelAndPatternCounts) {
    struct Case {
        uint16_t channels;
        int patterns;
        const char* reason; // null: loads
    } cases[] = {
        {0, 1, "no channels"},
        {257, 1, "too many channels"},
        {0xFFFF, 1, "too many channels"},
        {1, 1, nullptr},
        {256, 1, nullptr},
        {2, 256, nullptr},
        {2, 257, "too many patterns"},
    };
    for (const Case& c : cases) {
        XmSong song;
        song.channels = c.channels;
        song.orders = {0};
        song.patterns.resize(static_cast<size_t>(c.patterns));
        for (XmPattern& pattern : song.patterns) pattern.packing = XmPacking::NoData;
        Loaded module(xmWrite(song));
        SCOPED_TRACE(std::to_string(c.channels) + " channels, " + std::to_string(c.patterns) + " patterns");
        if (c.reason) {
            EXPECT_EQ(module.module, nullptr);
            EXPECT_STREQ(moduleLoadError(), c.reason);
        } else {
            ASSERT_NE(module.module, nullptr) << moduleLoadError();
            EXPECT_EQ(moduleCheckInvariants(module.module), "");
        }
    }
}

TEST(XmHostile, SongLengthIsLimitedToTheOrderEntriesTheHeaderHolds) {
    XmSong longSong;
    longSong.songLength = 300;
    longSong.orders.assign(256, 0);
    longSong.orders[255] = 3;
    Loaded limited(xmWrite(longSong));
    ASSERT_NE(limited.module, nullptr);
    EXPECT_EQ(limited->songLength, 256);
    EXPECT_EQ(limited->patternSlotCount, 4);

    // A short header: two order entries, then pattern data that must not count as orders.
    XmSong shortHeader;
    shortHeader.headerSize = 22;
    shortHeader.songLength = 210;
    shortHeader.orders = {0, 1};
    shortHeader.cell(1, 0, 0) = {30, 1, 0, 0, 0};
    shortHeader.patterns[0].packing = XmPacking::NoData;
    Loaded module(xmWrite(shortHeader));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(module->songLength, 2);
    EXPECT_EQ(module->patternSlotCount, 2);
    for (int i = 2; i < 256; ++i) ASSERT_EQ(module->orderTable[i], 0) << i;
    EXPECT_EQ(module->patterns[1].cells[0].note, 30);
}

TEST(XmHostile, RowCountsOutsideOneTo256) {
    XmSong song;
    song.channels = 2;
    song.orders = {0, 1, 2};
    song.patterns.resize(3);
    song.patterns[0].rows = 0;
    song.patterns[0].extraData = {0x80, 0x80, 0x80}; // skipped
    song.patterns[1].rows = 300;
    song.cell(1, 255, 1) = {10, 0, 0, 0, 0};
    song.cell(1, 256, 0) = {11, 0, 0, 0, 0}; // beyond the rows kept
    song.cell(1, 299, 1) = {12, 0, 0, 0, 0};
    song.cell(2, 0, 0) = {13, 0, 0, 0, 0};
    Loaded module(xmWrite(song));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(moduleCheckInvariants(module.module), "");
    EXPECT_EQ(module->patterns[0].rows, 64);
    EXPECT_EQ(module->patterns[1].rows, 256);
    EXPECT_EQ(module->patterns[1].cells[255 * 2 + 1].note, 10);
    EXPECT_EQ(module->patterns[2].cells[0].note, 13); // the stream stayed in step
}

TEST(XmHostile, PackedDataShorterThanTheCellsLeavesTheRestEmpty) {
    XmSong song;
    song.channels = 4;
    song.orders = {0, 1};
    for (int row = 0; row < 64; ++row)
        song.cell(0, row, row % 4) = {static_cast<uint8_t>(row + 1), 1, 0, 0, 0};
    song.patterns[0].dataLimit = 30; // the data stops after a few rows
    song.cell(1, 0, 0) = {77, 1, 0, 0, 0};
    song.instruments = {instrumentWith({xmSample8({1, 2, 3})})};
    Loaded module(xmWrite(song));
    ASSERT_NE(module.module, nullptr) << moduleLoadError();
    const Pattern& cut = module->patterns[0];
    EXPECT_EQ(cut.cells[0].note, 1);
    EXPECT_EQ(cut.cells[63 * 4 + 3].note, 0);
    EXPECT_EQ(module->patterns[1].cells[0].note, 77);
    EXPECT_EQ(module->instruments[0].samples[0]->data[2], 3 * 256);
}

TEST(XmHostile, PatternsCutOffByTheEndOfTheFileAreRefused) {
    XmSong song;
    song.orders = {0};
    song.cell(0, 10, 1) = {20, 0, 0, 0, 0};
    std::vector<uint8_t> bytes = xmWrite(song);
    for (size_t size : {FirstPatternOffset + 4, FirstPatternOffset + 9 + 10, bytes.size() - 1}) {
        EXPECT_EQ(xmLoadBytes(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size))),
                  nullptr);
        EXPECT_STREQ(moduleLoadError(), "truncated");
    }
}

TEST(XmHostile, SampleDataCutByTheEndOfTheFile) {
    struct Case {
        XmSample sample;
        size_t bytesKept;
        uint32_t length, loopStart, loopLength;
        uint8_t loopMode;
    } cases[] = {
        {xmSample8(values8(100), XmLoop::Forward, 50, 40), 60, 60, 50, 10, LoopForward},
        {xmSample8(values8(100), XmLoop::PingPong, 50, 40), 51, 51, 50, 1, LoopPingPong},
        {xmSample8(values8(100), XmLoop::Forward, 50, 40), 40, 40, 0, 40, LoopNone},
        {xmSample8(values8(100)), 33, 33, 0, 33, LoopNone},
        {xmSample8(values8(100)), 0, 0, 0, 0, LoopNone},
        {xmSample16(std::vector<int16_t>(30, 7), XmLoop::Forward, 0, 30), 21, 10, 0, 10, LoopForward},
        {xmSample16(std::vector<int16_t>(30, 7), XmLoop::Forward, 0, 30), 1, 0, 0, 0, LoopNone},
    };
    for (const Case& c : cases) {
        XmSong song;
        song.instruments = {instrumentWith({c.sample})};
        std::vector<uint8_t> bytes = xmWrite(song);
        bytes.resize(bytes.size() - c.sample.data.size() + c.bytesKept);
        Loaded module(bytes);
        SCOPED_TRACE(c.bytesKept);
        ASSERT_NE(module.module, nullptr) << moduleLoadError();
        EXPECT_EQ(moduleCheckInvariants(module.module), "");
        const Sample* sample = module->instruments[0].samples[0];
        EXPECT_EQ(sample->length, c.length);
        EXPECT_EQ(sample->loopStart, c.loopStart);
        EXPECT_EQ(sample->loopLength, c.loopLength);
        EXPECT_EQ(sample->loopMode, c.loopMode);
        if (c.length) {
            uint32_t end = sample->loopStart + sample->loopLength;
            int16_t guard =
                c.loopMode == LoopPingPong ? sample->data[end - 1] : sample->data[sample->loopStart];
            EXPECT_EQ(sample->data[end], guard);
        }
    }
}

TEST(XmHostile, LoopsBeyondTheSampleAreClamped) {
    struct Case {
        uint32_t loopStart, loopLength;
        uint32_t expectedStart, expectedLength;
        uint8_t loopMode;
    } cases[] = {
        {10, 100, 10, 10, LoopForward},       {19, 1, 19, 1, LoopForward},          {20, 5, 0, 20, LoopNone},
        {0xFFFFFFF0u, 0x20, 0, 20, LoopNone}, {5, 0xFFFFFFFFu, 5, 15, LoopForward},
    };
    for (const Case& c : cases) {
        XmSample sample = xmSample8(values8(20), XmLoop::Forward);
        sample.loopStartBytes = c.loopStart;
        sample.loopLengthBytes = c.loopLength;
        XmSong song;
        song.instruments = {instrumentWith({sample})};
        Loaded module(xmWrite(song));
        ASSERT_NE(module.module, nullptr);
        const Sample* loaded = module->instruments[0].samples[0];
        SCOPED_TRACE(c.loopStart);
        EXPECT_EQ(loaded->loopStart, c.expectedStart);
        EXPECT_EQ(loaded->loopLength, c.expectedLength);
        EXPECT_EQ(loaded->loopMode, c.loopMode);
        EXPECT_EQ(moduleCheckInvariants(module.module), "");
    }
}

TEST(XmHostile, SixteenBitSampleWithAnOddByteLengthKeepsTheStreamInStep) {
    XmSample odd = xmSample16({1000, 2000, 3000});
    odd.lengthBytes = 7;
    odd.data.push_back(0x55); // the odd byte
    XmSong song;
    song.instruments = {instrumentWith({odd, xmSample8({4, 5, 6})}), instrumentWith({xmSample8({9})})};
    Loaded module(xmWrite(song));
    ASSERT_NE(module.module, nullptr);
    const Instrument& instrument = module->instruments[0];
    EXPECT_EQ(instrument.samples[0]->length, 3u);
    EXPECT_EQ(instrument.samples[0]->data[2], 3000);
    EXPECT_EQ(instrument.samples[1]->data[0], 4 * 256);
    EXPECT_EQ(instrument.samples[1]->data[2], 6 * 256);
    EXPECT_EQ(module->instruments[1].samples[0]->data[0], 9 * 256);
}

TEST(XmHostile, EnvelopeCountsAndPointIndices) {
    struct Case {
        int count;
        uint8_t sustain, loopStart, loopEnd, type;
        uint8_t expectedCount, expectedType, expectedSustain, expectedLoopEnd;
    } cases[] = {
        {13, 3, 1, 2, 0x07, 12, 0x07, 3, 2},   {255, 11, 0, 11, 0x07, 12, 0x07, 11, 11},
        {12, 12, 0, 3, 0x07, 12, 0x05, 0, 3}, // sustain beyond the points: no sustain
        {4, 1, 2, 4, 0x07, 4, 0x03, 1, 0},    // loop end beyond the points: no loop
        {4, 200, 200, 1, 0x07, 4, 0x01, 0, 0}, {1, 0, 0, 0, 0x05, 1, 0x00, 0, 0},
    };
    for (const Case& c : cases) {
        XmInstrument instrument = instrumentWith({xmSample8({1})});
        for (uint16_t p = 0; p < 12; ++p)
            instrument.volumeEnvelope.points.push_back({static_cast<uint16_t>(p * 4), 32});
        instrument.volumeEnvelope.pointCount = c.count;
        instrument.volumeEnvelope.sustain = c.sustain;
        instrument.volumeEnvelope.loopStart = c.loopStart;
        instrument.volumeEnvelope.loopEnd = c.loopEnd;
        instrument.volumeEnvelope.type = c.type;
        instrument.panningEnvelope = instrument.volumeEnvelope;
        XmSong song;
        song.instruments = {instrument};
        Loaded module(xmWrite(song));
        ASSERT_NE(module.module, nullptr);
        const Instrument& loaded = module->instruments[0];
        SCOPED_TRACE(c.count);
        EXPECT_EQ(loaded.volumePointCount, c.expectedCount);
        EXPECT_EQ(loaded.volumeType, c.expectedType);
        EXPECT_EQ(loaded.volumeSustain, c.expectedSustain);
        EXPECT_EQ(loaded.volumeLoopEnd, c.expectedLoopEnd);
        EXPECT_EQ(loaded.panningType, c.expectedType);
        EXPECT_EQ(loaded.volumePoints[12].position, 0); // points beyond the file's 12 stay 0
        EXPECT_EQ(moduleCheckInvariants(module.module), "");
    }
}

TEST(XmHostile, InstrumentHeaderSizes) {
    XmSong song;
    song.instruments = {XmInstrument{}, instrumentWith({xmSample8({1, 2})}),
                        instrumentWith({xmSample8({3})})};
    std::vector<uint8_t> bytes = xmWrite(song);
    // A header size smaller than the bytes read does not move the stream back.
    std::vector<uint8_t> small = bytes;
    put32(small, FirstPatternOffset, 3);
    {
        Loaded module(small);
        ASSERT_NE(module.module, nullptr);
        EXPECT_EQ(module->instruments[1].samples[0]->data[1], 2 * 256);
        EXPECT_EQ(module->instruments[2].samples[0]->data[0], 3 * 256);
    }
    // A header size reaching past the end of the file: that instrument has no samples, nor the rest.
    std::vector<uint8_t> huge = bytes;
    put32(huge, FirstPatternOffset + 29, 0xFFFFFF8Fu);
    {
        Loaded module(huge);
        ASSERT_NE(module.module, nullptr);
        EXPECT_EQ(module->instrumentCount, 3);
        EXPECT_EQ(module->instruments[1].sampleCount, 0);
        EXPECT_EQ(module->instruments[2].sampleCount, 0);
        EXPECT_EQ(moduleCheckInvariants(module.module), "");
    }
}

TEST(XmHostile, InstrumentsMissingAtTheEndOfTheFileAreEmpty) {
    XmSong song;
    song.orders = {0};
    song.instruments = {instrumentWith({xmSample8({1, 2})}), instrumentWith({xmSample8({3})}),
                        XmInstrument{}};
    song.instrumentCountOverride = 5;
    std::vector<uint8_t> bytes = xmWrite(song);
    size_t secondInstrument = bytes.size() - 29 - (263 + 40 + 1);
    for (size_t size :
         {bytes.size(), secondInstrument + 10, secondInstrument + 100, secondInstrument + 263 + 20}) {
        Loaded module(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        SCOPED_TRACE(size);
        ASSERT_NE(module.module, nullptr) << moduleLoadError();
        EXPECT_EQ(module->instrumentCount, 5);
        EXPECT_EQ(module->instruments[0].samples[0]->data[1], 2 * 256);
        EXPECT_EQ(module->instruments[1].sampleCount, size == bytes.size() ? 1 : 0);
        for (int i = 2; i < 5; ++i) EXPECT_EQ(module->instruments[i].sampleCount, 0) << i;
        EXPECT_EQ(moduleCheckInvariants(module.module), "");
    }
}

TEST(XmHostile, InstrumentCountAndSampleVolumeAreKeptInRange) {
    XmSong song;
    XmSample loud = xmSample8({1});
    loud.volume = 200;
    song.instruments.assign(140, XmInstrument{});
    song.instruments[0] = instrumentWith({loud});
    Loaded module(xmWrite(song));
    ASSERT_NE(module.module, nullptr);
    EXPECT_EQ(module->instrumentCount, 128);
    EXPECT_EQ(module->instruments[0].samples[0]->volume, 64);
}

// Every prefix and many single-byte changes of a module that uses every part of the format: each loads
// into a module that keeps the loader's promises, or is refused with a reason.
TEST(XmHostile, EveryPrefixAndByteChangeLoadsSafelyOrIsRefused) {
    std::vector<uint8_t> bytes = xmWrite(richSong());
    {
        Loaded module(bytes);
        ASSERT_NE(module.module, nullptr) << moduleLoadError();
        ASSERT_EQ(moduleCheckInvariants(module.module), "");
    }
    auto check = [](const std::vector<uint8_t>& variant, const std::string& what) {
        Loaded module(variant);
        if (module.module) {
            std::string problem = moduleCheckInvariants(module.module);
            EXPECT_EQ(problem, "") << what;
            return !problem.empty();
        }
        EXPECT_STRNE(moduleLoadError(), "") << what;
        return false;
    };
    int failures = 0;
    for (size_t size = 0; size < bytes.size() && failures < 5; ++size)
        failures += check(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(size)),
                          "prefix of " + std::to_string(size));
    for (size_t offset = 17; offset < bytes.size() && failures < 5; ++offset) {
        for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            std::vector<uint8_t> variant = bytes;
            variant[offset] = value;
            failures += check(variant, "byte " + std::to_string(offset) + " = " + std::to_string(value));
        }
    }
}
