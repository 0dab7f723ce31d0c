// The command-line tools play on the waveform output device, as the intro does.

#include "platform/tool_audio.h"
#include "platform/win32/waveout_device.h"

const AudioDevice* toolAudioDevice() {
    return waveOutAudioDevice();
}
