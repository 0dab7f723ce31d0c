#pragma once
// introcap's command line, and the plan of a run made from it once the scene is set up.

#include <cstdint>
#include <string>
#include <vector>

struct CaptureOptions {
    int32_t frames = -1;        // known once planned when cycle is set
    bool cycle = false;         // --frames cycle: one full cycle of the scene
    std::vector<int32_t> shots; // frame numbers from 1; once planned ascending, without repeats
    bool sheet = false;
    bool wav = false;
    bool help = false;
    std::string outDir;
};

// Reads the arguments after the program name. False with a one-line reason in error when they do not
// make a run.
bool parseCaptureOptions(int argc, const char* const* argv, CaptureOptions* options, std::string* error);

// The scene's states in the order of one cycle: the scroller, then the four credit lines.
constexpr int32_t CycleParts = 5;

// Settles the number of frames (for a cycle, the sum of stateFrames, the frames each state of the cycle
// lasts) and the shots. Without --shot: for a cycle, four moments of the scroller and the middle of
// each credit line; otherwise up to eight frames evenly spread, the last one included. False with a
// reason when a shot lies outside the run or a cycle has no end.
bool planCapture(CaptureOptions* options, const int32_t stateFrames[CycleParts], std::string* error);

extern const char CaptureUsage[];
