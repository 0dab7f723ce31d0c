#pragma once
// The player reads a module only through five callbacks that the host registers once: open a module by
// name, close it, read bytes, set the position and tell the position. SourceStream is the player's handle
// on one opened module.
//
// What the loader asks of the callbacks: read copies up to count bytes from the position and moves it on
// by what it copied; seek with SeekSet sets the position, with SeekCurrent adds to it, with SeekEnd moves
// to the end (the loader learns the module's size that way, with tell, to bound what it allocates); tell
// gives the position from the start. close is called once for each successful open, before moduleLoad
// returns, whatever the load gave.

#include <cstdint>

enum SeekOrigin : int32_t { SeekSet = 0, SeekCurrent = 1, SeekEnd = 2 };

using SourceOpenFunction = void* (*)(const char* name);
using SourceCloseFunction = void (*)(void* handle);
using SourceReadFunction = int32_t (*)(uint8_t* destination, int32_t count, void* handle);
using SourceSeekFunction = int32_t (*)(void* handle, int32_t offset, int32_t origin);
using SourceTellFunction = int32_t (*)(void* handle);

// One table for the process: either all five are set or all five are null.
struct SourceCallbacks {
    SourceOpenFunction open;
    SourceCloseFunction close;
    SourceReadFunction read;
    SourceSeekFunction seek;
    SourceTellFunction tell;
};

extern SourceCallbacks sourceCallbacks;

// Stores the five functions; any null argument empties the whole table.
void setSourceCallbacks(SourceOpenFunction open, SourceCloseFunction close, SourceReadFunction read,
                        SourceSeekFunction seek, SourceTellFunction tell);

// For readers over a known size: where a seek from position lands. SeekEnd ignores the offset and
// an unknown origin keeps the position; the result is kept within 0..size.
int32_t sourceSeekPosition(int32_t position, int32_t size, int32_t offset, int32_t origin);

struct SourceStream {
    void* handle;
};

// Null when no callbacks are registered or the open callback fails.
SourceStream* streamOpen(const char* name);
void streamClose(SourceStream* stream);
int32_t streamRead(uint8_t* destination, int32_t count, SourceStream* stream);
int32_t streamSeek(SourceStream* stream, int32_t offset, int32_t origin);
int32_t streamTell(SourceStream* stream);
