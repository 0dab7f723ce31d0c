// The patterns of an XM file: each a 9-byte header and its packed cells, unpacked into fixed cells.

#include <cstdlib>

#include "music/xm_reader.h"

namespace {

constexpr int32_t PatternHeaderSize = 9;
constexpr int32_t MaxRows = 256;
constexpr int32_t DefaultRows =
    64; // of a pattern that the file names but does not store, or stores with no rows

// Unpacks the cells of one pattern from its packed data. Cells that the data does not reach stay empty;
// rows beyond the stored ones are decoded and dropped.
void unpackCells(const uint8_t* data, int32_t size, PatternCell* cells, int64_t storedCells,
                 int64_t fileCells) {
    int32_t position = 0;
    auto next = [&]() -> uint8_t { return position < size ? data[position++] : 0; };
    for (int64_t i = 0; i < fileCells && position < size; ++i) {
        uint8_t fields[5] = {};
        uint8_t first = data[position++];
        if (first & 0x80) {
            for (int bit = 0; bit < 5; ++bit)
                if (first & (1 << bit)) fields[bit] = next();
        } else {
            fields[0] = first;
            for (int field = 1; field < 5; ++field) fields[field] = next();
        }
        if (i >= storedCells) continue;
        PatternCell& cell = cells[i];
        cell.note = fields[0] == 97 ? static_cast<uint8_t>(NoteKeyOff) : fields[0];
        cell.instrument = fields[1] > 128 ? 0 : fields[1];
        cell.volume = fields[2];
        cell.effect = fields[3];
        cell.parameter = fields[4];
    }
}

bool allocateCells(Pattern& pattern, int32_t channels) {
    pattern.cells = static_cast<PatternCell*>(
        calloc(static_cast<size_t>(pattern.rows) * static_cast<size_t>(channels), sizeof(PatternCell)));
    return pattern.cells != nullptr;
}

bool readPattern(XmReader& reader, Pattern& pattern, int32_t channels) {
    uint8_t header[PatternHeaderSize];
    if (!xmRead(reader, header, sizeof header)) return xmFail(reader, "truncated");
    // The header's own length field and the packing type are not trusted: the header is 9 bytes.
    int32_t fileRows = xmU16(header + 5);
    int32_t packedSize = xmU16(header + 7);
    if (packedSize > xmRemaining(reader)) return xmFail(reader, "truncated");

    pattern.rows = fileRows == 0 ? DefaultRows : (fileRows > MaxRows ? MaxRows : fileRows);
    if (!allocateCells(pattern, channels)) return xmFail(reader, "out of memory");
    if (packedSize == 0 || fileRows == 0) {
        xmSeek(reader, xmTell(reader) + packedSize);
        return true;
    }
    auto* data = static_cast<uint8_t*>(malloc(static_cast<size_t>(packedSize)));
    if (!data) return xmFail(reader, "out of memory");
    xmRead(reader, data, packedSize);
    unpackCells(data, packedSize, pattern.cells, static_cast<int64_t>(pattern.rows) * channels,
                static_cast<int64_t>(fileRows) * channels);
    free(data);
    return true;
}

} // namespace

bool xmReadPatterns(XmReader& reader, Module* module, int32_t storedPatterns) {
    int32_t used = 0;
    for (int32_t i = 0; i < module->songLength; ++i)
        if (module->orderTable[i] >= used) used = module->orderTable[i] + 1;
    module->patternsUsed = used;
    int32_t slots = storedPatterns > used ? storedPatterns : used;
    module->patterns = static_cast<Pattern*>(calloc(static_cast<size_t>(slots ? slots : 1), sizeof(Pattern)));
    if (!module->patterns) return xmFail(reader, "out of memory");
    module->patternSlotCount = slots;

    int32_t channels = module->channelCount;
    for (int32_t i = 0; i < storedPatterns; ++i)
        if (!readPattern(reader, module->patterns[i], channels)) return false;
    for (int32_t i = storedPatterns; i < used; ++i) {
        module->patterns[i].rows = DefaultRows;
        if (!allocateCells(module->patterns[i], channels)) return xmFail(reader, "out of memory");
    }
    return true;
}
