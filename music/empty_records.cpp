#include "music/module.h"

Instrument emptyInstrument;
Sample emptySample;
