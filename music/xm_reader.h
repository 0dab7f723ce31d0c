#pragma once
// Bounded reading of an XM file for the loader: every position is checked against the file's size,
// which the loader learns once by seeking to the end.

#include <cstdint>

#include "music/module.h"
#include "music/source.h"

struct XmReader {
    SourceStream* stream;
    int64_t size;
    const char* error; // why the parse failed
};

inline uint16_t xmU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}
inline uint32_t xmU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(xmU16(bytes)) | static_cast<uint32_t>(xmU16(bytes + 2)) << 16;
}

int64_t xmTell(XmReader& reader);
inline int64_t xmRemaining(XmReader& reader) {
    return reader.size - xmTell(reader);
}
// Moves to position, or to the end of the file if position lies beyond it.
void xmSeek(XmReader& reader, int64_t position);
// Reads count bytes; false if the file ended first, with the undelivered bytes zeroed.
bool xmRead(XmReader& reader, uint8_t* destination, int64_t count);

inline bool xmFail(XmReader& reader, const char* reason) {
    reader.error = reason;
    return false;
}

// Reads the stored patterns and adds the empty ones that the order table names beyond them.
bool xmReadPatterns(XmReader& reader, Module* module, int32_t storedPatterns);
// Reads every instrument with its samples.
bool xmReadInstruments(XmReader& reader, Module* module);
