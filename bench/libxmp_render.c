/* The peer that bench/peers measures xmtool render against: an independent XM player (libxmp) rendering
 * a module offline to a 16-bit stereo WAV file at 44100 Hz with linear interpolation, for a fixed time.
 *
 * usage: libxmp_render FILE SECONDS OUT.wav
 */

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <xmp.h>

static void put32(unsigned char* out, uint32_t value) {
    out[0] = (unsigned char)value;
    out[1] = (unsigned char)(value >> 8);
    out[2] = (unsigned char)(value >> 16);
    out[3] = (unsigned char)(value >> 24);
}

static void writeHeader(FILE* file, uint32_t dataBytes) {
    unsigned char header[44] = {'R', 'I', 'F', 'F', 0,  0, 0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't',
                                ' ', 16,  0,   0,   0,  1, 0,   2,   0,   0,   0,   0,   0,   0,   0,
                                0,   0,   4,   0,   16, 0, 'd', 'a', 't', 'a', 0,   0,   0,   0};
    put32(header + 4, dataBytes + 36);
    put32(header + 24, 44100);
    put32(header + 28, 44100 * 4);
    put32(header + 40, dataBytes);
    fseek(file, 0, SEEK_SET);
    fwrite(header, 1, sizeof header, file);
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: libxmp_render FILE SECONDS OUT.wav\n");
        return 2;
    }
    const double seconds = atof(argv[2]);
    xmp_context context = xmp_create_context();
    if (xmp_load_module(context, argv[1]) != 0) {
        fprintf(stderr, "libxmp_render: %s: cannot load\n", argv[1]);
        return 1;
    }
    if (xmp_start_player(context, 44100, 0) != 0) {
        fprintf(stderr, "libxmp_render: cannot start the player\n");
        return 1;
    }
    xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
    FILE* out = fopen(argv[3], "wb");
    if (!out) {
        perror(argv[3]);
        return 1;
    }
    writeHeader(out, 0);
    enum { BlockFrames = 884 };
    int16_t block[2 * BlockFrames];
    uint64_t left = (uint64_t)(seconds * 44100.0);
    uint32_t dataBytes = 0;
    while (left > 0) {
        const uint64_t frames = left < BlockFrames ? left : BlockFrames;
        if (xmp_play_buffer(context, block, (int)(frames * 4), 0) != 0) break;
        fwrite(block, 4, (size_t)frames, out);
        dataBytes += (uint32_t)(frames * 4);
        left -= frames;
    }
    writeHeader(out, dataBytes);
    fclose(out);
    xmp_end_player(context);
    xmp_release_module(context);
    xmp_free_context(context);
    return 0;
}
