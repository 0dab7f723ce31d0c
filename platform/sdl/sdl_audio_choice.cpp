// Which sound device the intro plays on with SDL2: the system's, or, when that cannot be opened, the
// silent virtual device at the real clock's pace, so that the picture runs all the same.

#include "platform/headless/virtual_audio_device.h"
#include "platform/sdl/sdl_audio_device.h"
#include "platform/shell_platform.h"

const AudioDevice* shellAudioDevice() {
    return sdlAudioDevice();
}

const AudioDevice* shellSilentAudioDevice() {
    virtualAudioSetDriven(false);
    return virtualAudioDevice();
}
