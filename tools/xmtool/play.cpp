// xmtool play: the module through the platform's sound device, with a live status line.

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>

#include "audio/audio_output.h"
#include "music/replay.h"
#include "music/xm_loader.h"
#include "platform/console.h"
#include "platform/tool_audio.h"
#include "tools/xmtool/playback_verbs.h"
#include "tools/xmtool/song_walk.h"
#include "tools/xmtool/tool_common.h"

namespace {

const char PlayHelp[] = "usage: xmtool play FILE\n"
                        "Plays FILE on the sound device until the song has gone once through.\n"
                        "q or Ctrl-C stops it.\n";

constexpr int32_t PlayRate = 44100;

// Written by the tick handler on the mixer thread, read by the main thread under the mixer lock.
struct PlayWatch {
    SongWalk walk;
    uint64_t tickFrame = 0;
    std::atomic<bool> ended{false};
};

PlayWatch* playWatch = nullptr;
std::atomic<bool> interrupted{false};

void onInterrupt(int) {
    interrupted.store(true);
}

void watchedTick(Module* module) {
    if (songWalkTick(playWatch->walk, module)) playWatch->ended.store(true);
    playWatch->tickFrame += static_cast<uint64_t>(module->samplesPerTick > 0 ? module->samplesPerTick : 1);
}

void showStatus(const Module* module, bool terminal) {
    audioLockMixer();
    const uint64_t frames = playWatch->tickFrame;
    const int32_t order = module->playedOrder, row = module->playedRow;
    const int32_t pattern = order >= 0 && order <= 255 ? module->orderTable[order] : 0;
    const int32_t speed = module->speed, bpm = module->bpm;
    audioUnlockMixer();
    const uint64_t tenths = frames * 10 / PlayRate;
    std::fprintf(stderr, "%s%3u:%02u.%u  order %3d/%d  pattern %3d  row %3d  speed %2d  bpm %3d%s",
                 terminal ? "\r" : "", static_cast<unsigned>(tenths / 600),
                 static_cast<unsigned>(tenths / 10 % 60), static_cast<unsigned>(tenths % 10), order,
                 module->songLength, pattern, row, speed, bpm, terminal ? "  " : "\n");
    std::fflush(stderr);
}

} // namespace

const char* const PlayUsage = "FILE   play on the sound device with a live status line";

int playMain(int argc, char** argv) {
    const char* input = nullptr;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (toolIsHelp(arg)) {
            std::fputs(PlayHelp, stdout);
            return ExitOk;
        }
        if (arg[0] == '-' && arg[1] != '\0') return toolUsageError("play: unknown option");
        if (input) return toolUsageError("play: one file only");
        input = arg;
    }
    if (!input) return toolUsageError("play: no file given");

    Module* module = toolLoadModule(input); // registers the reader callbacks that audioInit asks for
    if (!module) return ExitFailure;
    audioSetDevice(toolAudioDevice());
    if (!audioInit(PlayRate)) {
        moduleFree(module);
        return toolFail(input, "cannot open the sound device");
    }

    PlayWatch watch;
    playWatch = &watch;
    module->tickHandler = watchedTick;
    std::signal(SIGINT, onInterrupt);
    const bool terminal = consoleIsTerminal(2);
    consoleKeysOpen();
    modulePlay(module);

    int shown = 0;
    while (!watch.ended.load() && !interrupted.load()) {
        const int key = consoleKeyPoll();
        if (key == 'q' || key == 'Q' || key == 27) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // Every 100 ms on a terminal, every second otherwise.
        if (++shown >= (terminal ? 5 : 50)) {
            shown = 0;
            showStatus(module, terminal);
        }
    }
    const bool finished = watch.ended.load();
    moduleStop(module);
    // Let the ring play out what was mixed before the end.
    if (finished) std::this_thread::sleep_for(std::chrono::milliseconds(450));
    showStatus(module, terminal);
    if (terminal) std::fputc('\n', stderr);
    consoleKeysClose();
    std::signal(SIGINT, SIG_DFL);
    moduleFree(module);
    audioClose();
    playWatch = nullptr;
    return ExitOk;
}
