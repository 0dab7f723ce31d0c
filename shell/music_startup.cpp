#include "shell/music_startup.h"

#include "audio/audio_output.h"
#include "music/module_source.h"
#include "music/replay.h"
#include "music/source.h"
#include "music/xm_loader.h"
#include "platform/resources.h"
#include "platform/shell_platform.h"

Module* song = nullptr;

namespace {

constexpr int32_t MixingRate = 44100;
constexpr char SongName[] = "vyx-rela.xm"; // the reader over the embedded bytes does not look at it

bool openOutput() {
    const AudioDevice* device = shellAudioDevice();
    if (device == nullptr) return audioInitOffline(MixingRate);
    audioSetDevice(device);
    if (audioInit(MixingRate)) return true;
    const AudioDevice* silent = shellSilentAudioDevice();
    if (silent == nullptr) return false;
    shellReport("intro: no audio device could be opened; the music plays silently");
    audioSetDevice(silent);
    return audioInit(MixingRate);
}

} // namespace

int startMusic() {
    ResourceBytes track{};
    if (!resourceData("XM", "TRACK", &track)) track = ResourceBytes{nullptr, 0};
    sourceSetData(track.data, track.size);
    setSourceCallbacks(sourceOpen, sourceClose, sourceRead, sourceSeek, sourceTell);
    if (!openOutput()) return 0;
    song = moduleLoad(SongName, nullptr);
    modulePlay(song);
    return 1;
}

void stopMusic() {
    moduleFree(song);
    song = nullptr; // a second stop must not free it again
    audioClose();
}
