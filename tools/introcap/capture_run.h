#pragma once
// The intro run headless: its own frame loop over the scripted queue and the virtual clock, which
// moves one millisecond per pass of the loop, so a frame falls every 26 ms as on a real machine.
// The music is rendered block by block by the mixer's own block routine as the clock moves.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/introcap/capture_options.h"
#include "tools/introcap/contact_sheet.h"

constexpr int32_t CaptureMixingRate = 44100;

struct CaptureResult {
    bool ready = false;    // the intro set itself up
    CaptureOptions plan;   // the options with the frames and shots settled
    std::string planError; // why the options make no run, when they do not
    int32_t framesRendered = 0;
    std::vector<Picture> shots; // in the order of options.shots
    std::vector<int16_t> music; // stereo frames of the span of the frames, when options.wav
};

// Runs initIntro, settles the plan, then renders its frames and runs shutdownIntro (Escape ends the run
// after the last frame). When the plan cannot be made, no frame is rendered.
void runCapture(const CaptureOptions& options, CaptureResult* result);
