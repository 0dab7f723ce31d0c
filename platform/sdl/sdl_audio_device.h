#pragma once
// The audio device on SDL2: the device callback plays the ring over and over, counting its own play
// position; the mixer thread is an SDL thread at the highest priority the system grants.

struct AudioDevice;

const AudioDevice* sdlAudioDevice();
