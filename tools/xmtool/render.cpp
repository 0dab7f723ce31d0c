// xmtool render: the module to a WAV file, offline and as fast as the CPU allows, through the block
// routine of the mixer thread.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "audio/audio_output.h"
#include "music/replay.h"
#include "music/xm_loader.h"
#include "platform/console.h"
#include "tools/common/wav_writer.h"
#include "tools/xmtool/playback_verbs.h"
#include "tools/xmtool/song_walk.h"
#include "tools/xmtool/tool_args.h"
#include "tools/xmtool/tool_common.h"

namespace {

const char RenderHelp[] = "usage: xmtool render FILE -o OUT.wav [--seconds S] [--rate R]\n"
                          "Renders FILE offline to a 16-bit stereo WAV file. Without --seconds the song\n"
                          "is rendered once through, at most 10 minutes. The rate defaults to 44100 Hz.\n";

constexpr double LongestSong = 600.0;

// The tick handler's view of the render: where the song stands and at which frame it ends.
struct RenderWatch {
    SongWalk walk;
    uint64_t tickFrame = 0; // the frame at which the next tick runs
    uint64_t endFrame = UINT64_MAX;
};

RenderWatch* renderWatch = nullptr;

void watchedTick(Module* module) {
    if (songWalkTick(renderWatch->walk, module) && renderWatch->endFrame == UINT64_MAX)
        renderWatch->endFrame = renderWatch->tickFrame;
    renderWatch->tickFrame += static_cast<uint64_t>(module->samplesPerTick > 0 ? module->samplesPerTick : 1);
}

void showProgress(double fraction, uint64_t frames, int32_t rate) {
    const int width = 40;
    const int filled = static_cast<int>(fraction * width);
    char bar[width + 1];
    for (int i = 0; i < width; ++i) bar[i] = i < filled ? '#' : '.';
    bar[width] = '\0';
    const uint64_t seconds = frames / static_cast<uint64_t>(rate);
    std::fprintf(stderr, "\r[%s] %3d%%  %u:%02u", bar, static_cast<int>(fraction * 100.0),
                 static_cast<unsigned>(seconds / 60), static_cast<unsigned>(seconds % 60));
    std::fflush(stderr);
}

} // namespace

const char* const RenderUsage = "FILE -o OUT.wav [--seconds S] [--rate R]   render to a WAV file, offline";

int renderMain(int argc, char** argv) {
    const char* input = nullptr;
    const char* output = nullptr;
    double seconds = 0.0;
    int32_t rate = 44100;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (toolIsHelp(arg)) {
            std::fputs(RenderHelp, stdout);
            return ExitOk;
        }
        if (std::strcmp(arg, "-o") == 0 && i + 1 < argc) {
            output = argv[++i];
        } else if (std::strcmp(arg, "--seconds") == 0 && i + 1 < argc) {
            if (!parseSeconds(argv[++i], seconds))
                return toolUsageError("render: --seconds needs seconds above 0");
        } else if (std::strcmp(arg, "--rate") == 0 && i + 1 < argc) {
            if (!parseInteger(argv[++i], 8000, 192000, rate))
                return toolUsageError("render: --rate needs a rate from 8000 to 192000 Hz");
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return toolUsageError("render: unknown option or missing value");
        } else if (!input) {
            input = arg;
        } else {
            return toolUsageError("render: one file only");
        }
    }
    if (!input) return toolUsageError("render: no file given");
    if (!output) return toolUsageError("render: no output given (-o OUT.wav)");

    Module* module = toolLoadModule(input);
    if (!module) return ExitFailure;
    if (!audioInitOffline(rate)) {
        moduleFree(module);
        return toolFail(input, "cannot open the offline audio output");
    }
    WavWriter wav = wavOpen(output, static_cast<uint32_t>(rate));
    if (!wav.file) {
        const int error = errno;
        moduleFree(module);
        audioClose();
        return toolFail(output, std::strerror(error));
    }

    RenderWatch watch;
    renderWatch = &watch;
    module->tickHandler = watchedTick;
    modulePlay(module);

    const bool onceThrough = seconds == 0.0;
    const uint64_t limitFrames = static_cast<uint64_t>((onceThrough ? LongestSong : seconds) * rate);
    const bool progress = consoleIsTerminal(2);
    std::vector<int16_t> block(2 * static_cast<size_t>(audioOutput.blockFrames));
    uint64_t written = 0;
    int lastPercent = -1;
    while (written < limitFrames) {
        const int32_t frames = audioRenderBlock(block.data());
        if (frames <= 0) break;
        uint64_t end = limitFrames;
        if (onceThrough && watch.endFrame < end) end = watch.endFrame;
        const uint64_t take = end - written < static_cast<uint64_t>(frames) ? end - written : frames;
        wavWrite(wav, block.data(), static_cast<uint32_t>(take));
        written += take;
        if (written >= end) break;
        if (progress) {
            double fraction = static_cast<double>(written) / static_cast<double>(limitFrames);
            if (onceThrough && module->songLength > 0) {
                const double song = static_cast<double>(module->orderPosition) / module->songLength;
                if (song > fraction) fraction = song;
            }
            const int percent = static_cast<int>(fraction * 100.0);
            if (percent != lastPercent) showProgress(fraction, written, rate);
            lastPercent = percent;
        }
    }
    if (progress) {
        showProgress(1.0, written, rate);
        std::fputc('\n', stderr);
    }

    moduleFree(module);
    audioClose();
    renderWatch = nullptr;
    if (!wavClose(wav)) return toolFail(output, "cannot write the WAV file");
    return ExitOk;
}
