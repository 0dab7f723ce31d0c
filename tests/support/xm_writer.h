#pragma once
// Builds XM files in memory for tests. Describe a song with the records below (every field has a
// sensible default, and the raw header fields can be overridden to make damaged files), turn it into
// bytes with xmWrite, and load those bytes with xmLoadBytes.
//
//   XmSong song;                       // 4 channels, linear table, tempo 6, BPM 125
//   song.orders = {0};
//   song.cell(0, 0, 0) = {49, 1, 0, 0, 0};            // pattern 0, row 0, channel 0: C-4, instrument 1
//   XmInstrument instrument;
//   instrument.samples.push_back(xmSample8({0, 10, 20}, XmLoop::Forward, 0, 3));
//   song.instruments.push_back(instrument);
//   Module* module = xmLoadBytes(xmWrite(song));      // moduleFree when done

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "music/module.h"

struct XmCell {
    uint8_t note = 0; // 1..96, 97 key-off
    uint8_t instrument = 0;
    uint8_t volume = 0;
    uint8_t effect = 0;
    uint8_t parameter = 0;
};

enum class XmPacking {
    Packed,   // every cell as a flag byte (bit 7 set) and its non-zero fields
    Unpacked, // every cell as five plain bytes (the note must be below 0x80)
    NoData,   // packed data size 0 and no data: an empty pattern
};

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells; // row by row; cells missing at the end are written empty
    XmPacking packing = XmPacking::Packed;
    uint32_t headerLength = 9;
    uint8_t packingType = 0;
    int32_t packedSizeOverride = -1; // -1: the size of the data written
    std::vector<uint8_t> extraData;  // raw bytes written after the cells, counted in the packed size
    int32_t dataLimit = -1;          // if >= 0, only the first dataLimit bytes of the data are written
};

struct XmEnvelope {
    std::vector<std::pair<uint16_t, uint16_t>> points; // (position, value); the first 12 are written
    int pointCount = -1;                               // -1: points.size()
    uint8_t sustain = 0;
    uint8_t loopStart = 0;
    uint8_t loopEnd = 0;
    uint8_t type = 0; // EnvelopeOn, EnvelopeSustain, EnvelopeLoop
};

enum class XmLoop : uint8_t { None = 0, Forward = 1, PingPong = 2 };

// A sample as stored: header values in bytes, data as stored (delta-coded). Make one with xmSample8 or
// xmSample16 and change fields afterwards to damage it.
struct XmSample {
    uint32_t lengthBytes = 0;
    uint32_t loopStartBytes = 0;
    uint32_t loopLengthBytes = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t type = 0; // bit 0 forward loop, bit 1 ping-pong, bit 4 16-bit
    uint8_t panning = 128;
    int8_t relativeNote = 0;
    std::string name;
    std::vector<uint8_t> data; // written after the instrument's sample headers, whatever lengthBytes says
};

// Plain values in, delta-coded stored bytes out; loop start and length in samples.
XmSample xmSample8(const std::vector<int8_t>& values, XmLoop loop = XmLoop::None, uint32_t loopStart = 0,
                   uint32_t loopLength = 0);
XmSample xmSample16(const std::vector<int16_t>& values, XmLoop loop = XmLoop::None, uint32_t loopStart = 0,
                    uint32_t loopLength = 0);

struct XmInstrument {
    std::string name;
    uint32_t headerSize = 0; // 0: 263 with samples, 29 without
    std::array<uint8_t, 96> keymap{};
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    uint8_t vibratoType = 0;
    uint8_t vibratoSweep = 0;
    uint8_t vibratoDepth = 0;
    uint8_t vibratoRate = 0;
    uint16_t fadeout = 0; // as stored in the file
    std::vector<XmSample> samples;
    int sampleCountOverride = -1; // -1: samples.size()
};

struct XmSong {
    std::string name = "test";
    uint32_t headerSize = 276; // the order table written holds headerSize - 20 entries
    int songLength = -1;       // -1: orders.size()
    uint16_t restartPosition = 0;
    uint16_t channels = 4;
    uint16_t flags = 1; // bit 0: linear frequency table
    uint16_t tempo = 6;
    uint16_t bpm = 125;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
    int patternCountOverride = -1;    // -1: patterns.size()
    int instrumentCountOverride = -1; // -1: instruments.size()

    // The cell at (row, channel) of pattern number pattern, adding patterns and cells as needed.
    XmCell& cell(int pattern, int row, int channel);
};

std::vector<uint8_t> xmWrite(const XmSong& song);

// Loads bytes through the in-memory reader callbacks (which it registers). The bytes are only read
// during the call. Null on failure; moduleLoadError() says why.
Module* xmLoadBytes(const std::vector<uint8_t>& bytes, SampleDecoder decoder = nullptr);
