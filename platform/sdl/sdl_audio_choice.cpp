// Which sound device the intro plays on with SDL2.

#include "platform/shell_platform.h"

const AudioDevice* shellAudioDevice() {
    return nullptr;
}
const AudioDevice* shellSilentAudioDevice() {
    return nullptr;
}
