#include "audio/audio_output.h"

AudioOutput audioOutput;
