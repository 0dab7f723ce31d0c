#pragma once
// A 16-bit stereo PCM WAV file written as it grows: the sizes in the header are filled in on close.
// The same bytes come out on every platform.

#include <cstdint>
#include <cstdio>

struct WavWriter {
    FILE* file;
    uint32_t rate;
    uint64_t frames;
    bool failed;
};

// Null file in the result when the file cannot be created.
WavWriter wavOpen(const char* path, uint32_t rate);
// Appends frameCount frames of interleaved left/right samples.
void wavWrite(WavWriter& writer, const int16_t* frames, uint32_t frameCount);
// Completes the header and closes the file. False if anything could not be written.
bool wavClose(WavWriter& writer);
