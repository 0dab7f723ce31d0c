// xmtool trace: what the replay engine does, tick by tick and channel by channel, or row by row.

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "audio/audio_output.h"
#include "music/replay.h"
#include "music/xm_loader.h"
#include "tools/xmtool/playback_verbs.h"
#include "tools/xmtool/song_walk.h"
#include "tools/xmtool/tool_args.h"
#include "tools/xmtool/tool_common.h"

namespace {

const char TraceHelp[] =
    "usage: xmtool trace [--rows] FILE [--seconds S]\n"
    "Prints one tab-separated line per tick and channel:\n"
    "  frame order pattern row tick channel note instrument period frequency volume pan\n"
    "frame is the output frame (at 44100 Hz) at which the tick runs; note and instrument count from 1,\n"
    "0 while the channel has had none; period includes the tick's delta; frequency is the Hz sent to the\n"
    "voice, 0 when none is sent; volume and pan are the voice's after the tick.\n"
    "With --rows, one line per row instead: frame order pattern row speed bpm.\n"
    "Without --seconds the song is traced once through, at most 10 minutes.\n";

constexpr int32_t TraceRate = 44100;
constexpr double LongestSong = 600.0;

// Notes and instruments show from the first row that gives the channel one.
struct ChannelSeen {
    bool note;
    bool instrument;
};

void noteRowCells(const Module* module, ChannelSeen* seen) {
    if (module->playedOrder < 0 || module->playedOrder > 255) return;
    const int32_t number = module->orderTable[module->playedOrder];
    if (!module->patterns || number >= module->patternSlotCount) return;
    const Pattern& pattern = module->patterns[number];
    if (!pattern.cells || module->playedRow < 0 || module->playedRow >= pattern.rows) return;
    const PatternCell* cells = pattern.cells + static_cast<int64_t>(module->playedRow) * module->channelCount;
    for (int32_t i = 0; i < module->channelCount; ++i) {
        if (cells[i].note >= 1 && cells[i].note <= NoteCount) seen[i].note = true;
        if (cells[i].instrument != 0) seen[i].instrument = true;
    }
}

} // namespace

const char* const TraceUsage =
    "[--rows] FILE [--seconds S]   print what the engine does per tick and channel, or per row";

int traceMain(int argc, char** argv) {
    const char* input = nullptr;
    double seconds = 0.0;
    bool rows = false;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (toolIsHelp(arg)) {
            std::fputs(TraceHelp, stdout);
            return ExitOk;
        }
        if (std::strcmp(arg, "--rows") == 0) {
            rows = true;
        } else if (std::strcmp(arg, "--seconds") == 0 && i + 1 < argc) {
            if (!parseSeconds(argv[++i], seconds))
                return toolUsageError("trace: --seconds needs seconds above 0");
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return toolUsageError("trace: unknown option or missing value");
        } else if (!input) {
            input = arg;
        } else {
            return toolUsageError("trace: one file only");
        }
    }
    if (!input) return toolUsageError("trace: no file given");

    Module* module = toolLoadModule(input);
    if (!module) return ExitFailure;
    // The voices hold what the engine sends; no block is mixed, since nothing here depends on the sound.
    if (!audioInitOffline(TraceRate)) {
        moduleFree(module);
        return toolFail(input, "cannot open the offline audio output");
    }
    modulePlay(module);

    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    if (rows) {
        std::puts("frame\torder\tpattern\trow\tspeed\tbpm");
    } else {
        std::puts(
            "frame\torder\tpattern\trow\ttick\tchannel\tnote\tinstrument\tperiod\tfrequency\tvolume\tpan");
    }

    const int32_t channelCount = module->channelCount;
    ChannelSeen* seen = new ChannelSeen[channelCount > 0 ? channelCount : 1]();
    const bool onceThrough = seconds == 0.0;
    const uint64_t limitFrames = static_cast<uint64_t>((onceThrough ? LongestSong : seconds) * TraceRate);
    SongWalk walk;
    uint64_t frame = 0;
    while (frame < limitFrames) {
        const int32_t tick = module->tick;
        const bool ended = songWalkTick(walk, module);
        if (tick == 0) noteRowCells(module, seen);
        if (ended && onceThrough) break;
        const int32_t order = module->playedOrder;
        const int32_t pattern = order >= 0 && order <= 255 ? module->orderTable[order] : 0;
        const unsigned long long at = frame;
        if (rows) {
            if (tick == 0)
                std::printf("%llu\t%d\t%d\t%d\t%d\t%d\n", at, order, pattern, module->playedRow,
                            module->speed, module->bpm);
        } else {
            for (int32_t i = 0; i < channelCount; ++i) {
                const Channel& channel = module->channels[i];
                const bool sent = (channel.flags & UpdateFrequency) && channel.voice;
                const int32_t frequency = sent ? channelFrequency(module, &channel) : 0;
                const int32_t volume = channel.voice ? channel.voice->volume : 0;
                const int32_t pan = channel.voice ? channel.voice->pan : 0;
                std::printf("%llu\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\n", at, order, pattern,
                            module->playedRow, tick, i, seen[i].note ? channel.note + 1 : 0,
                            seen[i].instrument ? channel.instrument + 1 : 0,
                            channel.period + channel.periodDelta, frequency, volume, pan);
            }
        }
        frame += static_cast<uint64_t>(module->samplesPerTick > 0 ? module->samplesPerTick : 1);
    }
    std::fflush(stdout);
    delete[] seen;
    moduleFree(module);
    audioClose();
    return std::ferror(stdout) ? ExitFailure : ExitOk;
}
