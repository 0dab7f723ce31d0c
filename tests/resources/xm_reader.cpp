#include "xm_reader.h"

#include <cstring>
#include <set>
#include <tuple>

namespace {

struct Cursor {
    const uint8_t* data;
    uint32_t size;
    uint32_t pos;
    bool ok = true;

    bool need(uint32_t n) {
        if (pos > size || size - pos < n) ok = false;
        return ok;
    }
    uint32_t u8() { return need(1) ? data[pos++] : 0; }
    uint32_t u16() {
        uint32_t lo = u8();
        return lo | u8() << 8;
    }
    uint32_t u32() {
        uint32_t lo = u16();
        return lo | u16() << 16;
    }
};

} // namespace

std::string readXm(const uint8_t* data, uint32_t size, XmSong* song) {
    if (size < 336 || std::memcmp(data, "Extended Module: ", 17) != 0 || data[37] != 0x1a)
        return "no XM signature";
    Cursor c{data, size, 58};
    song->version = static_cast<uint16_t>(c.u16());
    uint32_t headerSize = c.u32();
    song->songLength = static_cast<uint16_t>(c.u16());
    song->restart = static_cast<uint16_t>(c.u16());
    song->channels = static_cast<uint16_t>(c.u16());
    uint32_t patternCount = c.u16();
    uint32_t instrumentCount = c.u16();
    song->flags = static_cast<uint16_t>(c.u16());
    song->tempo = static_cast<uint16_t>(c.u16());
    song->bpm = static_cast<uint16_t>(c.u16());
    for (uint8_t& o : song->orders) o = static_cast<uint8_t>(c.u8());
    c.pos = 60 + headerSize;
    for (uint32_t p = 0; p < patternCount && c.ok; ++p) {
        uint32_t start = c.pos;
        uint32_t length = c.u32();
        c.u8();
        XmPattern pattern;
        pattern.rows = static_cast<int>(c.u16());
        uint32_t packed = c.u16();
        c.pos = start + length;
        uint32_t end = c.pos + packed;
        pattern.cells.resize(static_cast<size_t>(pattern.rows) * song->channels);
        if (packed != 0) {
            for (XmCell& cell : pattern.cells) {
                uint32_t b = c.u8();
                uint8_t* fields[5] = {&cell.note, &cell.instrument, &cell.volume, &cell.effect,
                                      &cell.parameter};
                if (b & 0x80) {
                    for (int bit = 0; bit < 5; ++bit)
                        if (b & (1u << bit)) *fields[bit] = static_cast<uint8_t>(c.u8());
                } else {
                    cell.note = static_cast<uint8_t>(b);
                    for (int i = 1; i < 5; ++i) *fields[i] = static_cast<uint8_t>(c.u8());
                }
            }
            if (c.ok && c.pos != end) return "pattern " + std::to_string(p) + ": packed size does not add up";
        }
        song->patterns.push_back(std::move(pattern));
    }
    for (uint32_t i = 0; i < instrumentCount && c.ok; ++i) {
        uint32_t start = c.pos;
        uint32_t header = c.u32();
        c.pos += 23;
        XmInstrumentInfo ins;
        uint32_t sampleCount = c.u16();
        if (sampleCount > 16) return "instrument " + std::to_string(i) + ": too many samples";
        if (sampleCount > 0) {
            if (c.u32() != 40) return "instrument " + std::to_string(i) + ": sample header size is not 40";
            for (uint8_t& k : ins.keymap) k = static_cast<uint8_t>(c.u8());
            for (XmEnvelopeInfo* e : {&ins.volume, &ins.panning})
                for (int k = 0; k < 12; ++k) {
                    e->positions[k] = static_cast<uint16_t>(c.u16());
                    e->values[k] = static_cast<uint16_t>(c.u16());
                }
            ins.volume.pointCount = static_cast<int>(c.u8());
            ins.panning.pointCount = static_cast<int>(c.u8());
            for (XmEnvelopeInfo* e : {&ins.volume, &ins.panning}) {
                e->sustain = static_cast<int>(c.u8());
                e->loopStart = static_cast<int>(c.u8());
                e->loopEnd = static_cast<int>(c.u8());
            }
            ins.volume.type = static_cast<int>(c.u8());
            ins.panning.type = static_cast<int>(c.u8());
            ins.vibratoType = static_cast<uint8_t>(c.u8());
            ins.vibratoSweep = static_cast<uint8_t>(c.u8());
            ins.vibratoDepth = static_cast<uint8_t>(c.u8());
            ins.vibratoRate = static_cast<uint8_t>(c.u8());
            ins.fadeout = static_cast<uint16_t>(c.u16());
        }
        c.pos = start + header;
        for (uint32_t s = 0; s < sampleCount; ++s) {
            XmSampleInfo sample;
            sample.lengthBytes = c.u32();
            sample.loopStartBytes = c.u32();
            sample.loopLengthBytes = c.u32();
            sample.volume = static_cast<uint8_t>(c.u8());
            sample.finetune = static_cast<int8_t>(c.u8());
            sample.type = static_cast<uint8_t>(c.u8());
            sample.panning = static_cast<uint8_t>(c.u8());
            sample.relativeNote = static_cast<int8_t>(c.u8());
            c.pos += 23;
            ins.samples.push_back(sample);
        }
        for (const XmSampleInfo& sample : ins.samples) c.pos += sample.lengthBytes;
        if (c.pos > size) c.ok = false;
        song->instruments.push_back(ins);
    }
    if (!c.ok) return "file ends early";
    if (c.pos != size) return "bytes left over after the last instrument";
    return "";
}

double xmSecondsBeforeRepeat(const XmSong& song, int* loopOrder) {
    std::set<std::tuple<int, int, int, int>> seen;
    int order = 0, row = 0, speed = song.tempo, bpm = song.bpm;
    double seconds = 0;
    for (;;) {
        if (order >= song.songLength) order = song.restart;
        if (order >= song.songLength || song.orders[order] >= song.patterns.size()) return -1;
        const XmPattern& pattern = song.patterns[song.orders[order]];
        if (row >= pattern.rows) row = 0;
        if (!seen.insert({order, row, speed, bpm}).second) {
            *loopOrder = order;
            return seconds;
        }
        int nextOrder = -1, nextRow = -1, delay = 0;
        for (int ch = 0; ch < song.channels; ++ch) {
            const XmCell& cell = pattern.cells[static_cast<size_t>(row) * song.channels + ch];
            int x = cell.parameter >> 4, y = cell.parameter & 15;
            if (cell.effect == 0xF && cell.parameter > 0) {
                if (cell.parameter < 32)
                    speed = cell.parameter;
                else
                    bpm = cell.parameter;
            } else if (cell.effect == 0xB) {
                nextOrder = cell.parameter;
                if (nextRow < 0) nextRow = 0;
            } else if (cell.effect == 0xD) {
                if (nextOrder < 0) nextOrder = order + 1;
                nextRow = x * 10 + y;
            } else if (cell.effect == 0xE && x == 0xE) {
                delay = y;
            }
        }
        seconds += speed * (1 + delay) * 2.5 / bpm;
        if (nextOrder >= 0) {
            order = nextOrder;
            row = nextRow;
        } else if (++row >= pattern.rows) {
            ++order;
            row = 0;
        }
    }
}
