// The intro plays on the waveform output device; without one it ends.

#include "platform/shell_platform.h"
#include "platform/win32/waveout_device.h"

const AudioDevice* shellAudioDevice() {
    return waveOutAudioDevice();
}
const AudioDevice* shellSilentAudioDevice() {
    return nullptr;
}
