#pragma once
// The link between the shell and the music: the module reader, the audio output and the tune.

#include "music/module.h"

extern Module* song; // null before startMusic and when the tune could not be loaded

// Registers the reader over the embedded module, opens the audio output at 44100 Hz, loads the tune
// and starts it. 1 when the output runs (with or without the tune), 0 otherwise.
int startMusic();

// Frees the tune (stopping it) and closes the audio output.
void stopMusic();
