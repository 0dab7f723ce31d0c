#include "tools/introcap/wav_file.h"

#include <cstdio>

namespace {

void put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* at, uint32_t value) {
    put16(at, value & 0xFFFF);
    put16(at + 2, value >> 16);
}

} // namespace

bool writeWav16Stereo(const char* path, const int16_t* samples, uint32_t frames, int32_t rate) {
    if (frames > (0xFFFFFFFFu - 36) / 4) return false;
    const uint32_t dataBytes = frames * 4;
    uint8_t header[44] = {'R', 'I', 'F', 'F', 0,  0, 0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't',
                          ' ', 16,  0,   0,   0,  1, 0,   2,   0,   0,   0,   0,   0,   0,   0,
                          0,   0,   4,   0,   16, 0, 'd', 'a', 't', 'a', 0,   0,   0,   0};
    put32(header + 4, 36 + dataBytes);
    put32(header + 24, static_cast<uint32_t>(rate));
    put32(header + 28, static_cast<uint32_t>(rate) * 4);
    put32(header + 40, dataBytes);

    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;
    // Little-endian samples, whatever the host's order.
    uint8_t chunk[4096];
    size_t filled = 0;
    for (uint32_t i = 0; ok && i < 2 * frames; ++i) {
        put16(chunk + filled, static_cast<uint16_t>(samples[i]));
        filled += 2;
        if (filled == sizeof chunk || i + 1 == 2 * frames) {
            ok = std::fwrite(chunk, 1, filled, file) == filled;
            filled = 0;
        }
    }
    return std::fclose(file) == 0 && ok;
}
