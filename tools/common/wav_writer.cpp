#include "tools/common/wav_writer.h"

#include <cstring>

namespace {

constexpr uint32_t HeaderBytes = 44;
// A RIFF file holds at most 4 GiB; longer renders keep their frames but cap the sizes.
constexpr uint64_t MaxDataBytes = 0xFFFFFFFFull - HeaderBytes;

void put16(uint8_t* out, uint32_t value) {
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
}

void put32(uint8_t* out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out + 2, value >> 16);
}

void header(uint8_t* out, uint32_t rate, uint64_t frames) {
    uint64_t dataBytes = frames * 4;
    if (dataBytes > MaxDataBytes) dataBytes = MaxDataBytes;
    std::memcpy(out, "RIFF", 4);
    put32(out + 4, static_cast<uint32_t>(dataBytes + HeaderBytes - 8));
    std::memcpy(out + 8, "WAVEfmt ", 8);
    put32(out + 16, 16);       // format chunk size
    put16(out + 20, 1);        // PCM
    put16(out + 22, 2);        // channels
    put32(out + 24, rate);     // frames per second
    put32(out + 28, rate * 4); // bytes per second
    put16(out + 32, 4);        // bytes per frame
    put16(out + 34, 16);       // bits per sample
    std::memcpy(out + 36, "data", 4);
    put32(out + 40, static_cast<uint32_t>(dataBytes));
}

bool littleEndianHost() {
    const uint16_t probe = 1;
    uint8_t first;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

} // namespace

WavWriter wavOpen(const char* path, uint32_t rate) {
    WavWriter writer{std::fopen(path, "wb"), rate, 0, false};
    if (writer.file) {
        std::setvbuf(writer.file, nullptr, _IOFBF, 1 << 20);
        uint8_t bytes[HeaderBytes];
        header(bytes, rate, 0);
        writer.failed = std::fwrite(bytes, 1, HeaderBytes, writer.file) != HeaderBytes;
    }
    return writer;
}

void wavWrite(WavWriter& writer, const int16_t* frames, uint32_t frameCount) {
    if (!writer.file || writer.failed) return;
    if (littleEndianHost()) {
        if (std::fwrite(frames, 4, frameCount, writer.file) != frameCount) writer.failed = true;
        writer.frames += frameCount;
        return;
    }
    uint8_t bytes[4 * 1024];
    while (frameCount > 0) {
        const uint32_t chunk = frameCount < 1024 ? frameCount : 1024;
        for (uint32_t i = 0; i < 2 * chunk; ++i) put16(bytes + 2 * i, static_cast<uint16_t>(frames[i]));
        if (std::fwrite(bytes, 4, chunk, writer.file) != chunk) writer.failed = true;
        writer.frames += chunk;
        frames += 2 * chunk;
        frameCount -= chunk;
    }
}

bool wavClose(WavWriter& writer) {
    if (!writer.file) return false;
    uint8_t bytes[HeaderBytes];
    header(bytes, writer.rate, writer.frames);
    bool ok = !writer.failed && std::fseek(writer.file, 0, SEEK_SET) == 0 &&
              std::fwrite(bytes, 1, HeaderBytes, writer.file) == HeaderBytes;
    ok = std::fclose(writer.file) == 0 && ok;
    writer.file = nullptr;
    return ok;
}
