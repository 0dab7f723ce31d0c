#pragma once
// The audio device on Windows: the default waveform output device looping one buffer, and a Win32
// thread at time-critical priority.

struct AudioDevice;

const AudioDevice* waveOutAudioDevice();
