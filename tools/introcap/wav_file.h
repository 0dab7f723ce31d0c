#pragma once
// Writes 16-bit stereo PCM as a WAV file.

#include <cstdint>

// frames stereo frames, left then right. False when the file cannot be written.
bool writeWav16Stereo(const char* path, const int16_t* samples, uint32_t frames, int32_t rate);
