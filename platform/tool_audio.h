#pragma once
// The sound device of the command-line tools (xmtool play). Tools that only render must start fast, so
// where the device needs a large library it is loaded on first use.

struct AudioDevice;

const AudioDevice* toolAudioDevice();
