#include "tests/support/xm_writer.h"

#include <algorithm>
#include <cstring>

#include "music/module_source.h"
#include "music/xm_loader.h"

namespace {

void put8(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
}
void put16(std::vector<uint8_t>& out, uint32_t value) {
    put8(out, value);
    put8(out, value >> 8);
}
void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value);
    put16(out, value >> 16);
}
void putText(std::vector<uint8_t>& out, const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) put8(out, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

void putCell(std::vector<uint8_t>& out, const XmCell& cell, XmPacking packing) {
    const uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
    if (packing == XmPacking::Unpacked) {
        for (uint8_t field : fields) put8(out, field);
        return;
    }
    uint8_t mask = 0x80;
    for (int i = 0; i < 5; ++i)
        if (fields[i]) mask |= static_cast<uint8_t>(1 << i);
    put8(out, mask);
    for (uint8_t field : fields)
        if (field) put8(out, field);
}

void putPattern(std::vector<uint8_t>& out, const XmPattern& pattern, int channels) {
    std::vector<uint8_t> data;
    if (pattern.packing != XmPacking::NoData) {
        size_t count = static_cast<size_t>(pattern.rows) * static_cast<size_t>(channels);
        for (size_t i = 0; i < count; ++i)
            putCell(data, i < pattern.cells.size() ? pattern.cells[i] : XmCell{}, pattern.packing);
    }
    data.insert(data.end(), pattern.extraData.begin(), pattern.extraData.end());
    if (pattern.dataLimit >= 0 && static_cast<size_t>(pattern.dataLimit) < data.size())
        data.resize(static_cast<size_t>(pattern.dataLimit));
    put32(out, pattern.headerLength);
    put8(out, pattern.packingType);
    put16(out, static_cast<uint32_t>(pattern.rows));
    put16(out, pattern.packedSizeOverride >= 0 ? static_cast<uint32_t>(pattern.packedSizeOverride)
                                               : static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

void putEnvelopePoints(std::vector<uint8_t>& out, const XmEnvelope& envelope) {
    for (size_t i = 0; i < 12; ++i) {
        auto point = i < envelope.points.size() ? envelope.points[i] : std::pair<uint16_t, uint16_t>{0, 0};
        put16(out, point.first);
        put16(out, point.second);
    }
}

uint8_t envelopeCount(const XmEnvelope& envelope) {
    return static_cast<uint8_t>(envelope.pointCount >= 0 ? envelope.pointCount
                                                         : static_cast<int>(envelope.points.size()));
}

void putInstrument(std::vector<uint8_t>& out, const XmInstrument& instrument) {
    size_t start = out.size();
    uint32_t headerSize =
        instrument.headerSize ? instrument.headerSize : (instrument.samples.empty() ? 29 : 263);
    int count = instrument.sampleCountOverride >= 0 ? instrument.sampleCountOverride
                                                    : static_cast<int>(instrument.samples.size());
    put32(out, headerSize);
    putText(out, instrument.name, 22);
    put8(out, 0);
    put16(out, static_cast<uint32_t>(count));
    if (count != 0) {
        put32(out, 40);
        out.insert(out.end(), instrument.keymap.begin(), instrument.keymap.end());
        putEnvelopePoints(out, instrument.volumeEnvelope);
        putEnvelopePoints(out, instrument.panningEnvelope);
        put8(out, envelopeCount(instrument.volumeEnvelope));
        put8(out, envelopeCount(instrument.panningEnvelope));
        for (const XmEnvelope* envelope : {&instrument.volumeEnvelope, &instrument.panningEnvelope}) {
            put8(out, envelope->sustain);
            put8(out, envelope->loopStart);
            put8(out, envelope->loopEnd);
        }
        put8(out, instrument.volumeEnvelope.type);
        put8(out, instrument.panningEnvelope.type);
        put8(out, instrument.vibratoType);
        put8(out, instrument.vibratoSweep);
        put8(out, instrument.vibratoDepth);
        put8(out, instrument.vibratoRate);
        put16(out, instrument.fadeout);
    }
    // The rest of the header is zero, or the header is cut short when headerSize says so.
    out.resize(start + headerSize, 0);
    for (const XmSample& sample : instrument.samples) {
        put32(out, sample.lengthBytes);
        put32(out, sample.loopStartBytes);
        put32(out, sample.loopLengthBytes);
        put8(out, sample.volume);
        put8(out, static_cast<uint8_t>(sample.finetune));
        put8(out, sample.type);
        put8(out, sample.panning);
        put8(out, static_cast<uint8_t>(sample.relativeNote));
        put8(out, 0);
        putText(out, sample.name, 22);
    }
    for (const XmSample& sample : instrument.samples)
        out.insert(out.end(), sample.data.begin(), sample.data.end());
}

uint8_t loopType(XmLoop loop) {
    return static_cast<uint8_t>(loop);
}

} // namespace

XmSample xmSample8(const std::vector<int8_t>& values, XmLoop loop, uint32_t loopStart, uint32_t loopLength) {
    XmSample sample;
    int8_t previous = 0;
    for (int8_t value : values) {
        sample.data.push_back(static_cast<uint8_t>(value - previous));
        previous = value;
    }
    sample.lengthBytes = static_cast<uint32_t>(values.size());
    sample.loopStartBytes = loopStart;
    sample.loopLengthBytes = loopLength;
    sample.type = loopType(loop);
    return sample;
}

XmSample xmSample16(const std::vector<int16_t>& values, XmLoop loop, uint32_t loopStart,
                    uint32_t loopLength) {
    XmSample sample;
    int16_t previous = 0;
    for (int16_t value : values) {
        uint16_t delta = static_cast<uint16_t>(value - previous);
        sample.data.push_back(static_cast<uint8_t>(delta));
        sample.data.push_back(static_cast<uint8_t>(delta >> 8));
        previous = value;
    }
    sample.lengthBytes = static_cast<uint32_t>(values.size() * 2);
    sample.loopStartBytes = loopStart * 2;
    sample.loopLengthBytes = loopLength * 2;
    sample.type = static_cast<uint8_t>(loopType(loop) | 0x10);
    return sample;
}

XmCell& XmSong::cell(int pattern, int row, int channel) {
    if (patterns.size() <= static_cast<size_t>(pattern)) patterns.resize(static_cast<size_t>(pattern) + 1);
    XmPattern& target = patterns[static_cast<size_t>(pattern)];
    size_t index = static_cast<size_t>(row) * channels + static_cast<size_t>(channel);
    if (target.cells.size() <= index) target.cells.resize(index + 1);
    return target.cells[index];
}

std::vector<uint8_t> xmWrite(const XmSong& song) {
    std::vector<uint8_t> out;
    putText(out, "Extended Module: ", 17);
    putText(out, song.name, 20);
    put8(out, 0x1A);
    putText(out, "test writer", 20);
    put16(out, 0x0104);
    put32(out, song.headerSize);
    int songLength = song.songLength >= 0 ? song.songLength : static_cast<int>(song.orders.size());
    put16(out, static_cast<uint32_t>(songLength));
    put16(out, song.restartPosition);
    put16(out, song.channels);
    put16(out,
          static_cast<uint32_t>(song.patternCountOverride >= 0 ? song.patternCountOverride
                                                               : static_cast<int>(song.patterns.size())));
    put16(out, static_cast<uint32_t>(song.instrumentCountOverride >= 0
                                         ? song.instrumentCountOverride
                                         : static_cast<int>(song.instruments.size())));
    put16(out, song.flags);
    put16(out, song.tempo);
    put16(out, song.bpm);
    // The order table fills the rest of the header; a short header holds fewer entries.
    size_t headerEnd = 60 + static_cast<size_t>(song.headerSize);
    for (size_t i = 0; out.size() < headerEnd; ++i) put8(out, i < song.orders.size() ? song.orders[i] : 0);
    out.resize(headerEnd);
    for (const XmPattern& pattern : song.patterns) putPattern(out, pattern, song.channels);
    for (const XmInstrument& instrument : song.instruments) putInstrument(out, instrument);
    return out;
}

Module* xmLoadBytes(const std::vector<uint8_t>& bytes, SampleDecoder decoder) {
    sourceRegister();
    sourceSetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    Module* module = moduleLoad("memory.xm", decoder);
    sourceSetData(nullptr, 0);
    return module;
}
