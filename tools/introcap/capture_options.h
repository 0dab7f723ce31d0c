#pragma once
// introcap's command line.

#include <cstdint>
#include <string>
#include <vector>

struct CaptureOptions {
    int32_t frames = -1;
    std::vector<int32_t> shots; // frame numbers from 1, ascending, no repeats
    bool sheet = false;
    bool wav = false;
    bool help = false;
    std::string outDir;
};

// Reads the arguments after the program name. False with a one-line reason in error when they do not
// make a run. Without --shot the last frame is the one shot.
bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions* options, std::string* error);

extern const char CaptureUsage[];
