#pragma once
// The entry point's body: the window, set-up, the message loop with its frame pacing, tear-down.

#include <cstdint>

#include "platform/shell_platform.h"

// A frame is due when more than this many milliseconds have passed since the previous one ended.
constexpr uint32_t FramePeriodMs = 25;

extern void* mainWindow;
extern void* appInstance;
extern bool introReady;
extern uint32_t lastFrameTime;

// The three routines that frame the rest of the system; the program uses initIntro, renderFrame and
// shutdownIntro, tests their stand-ins.
struct IntroRoutines {
    int (*init)();
    int (*render)();
    int (*shutdown)();
};

// Unsigned difference, so the frames go on when the tick count wraps past 2^32.
inline bool frameDue(uint32_t now, uint32_t last) {
    return now - last > FramePeriodMs;
}

// Escape posts the destroy message and the destroy message posts the quit: two hops.
MessageResult windowProc(const ShellMessage& message);

// Opens the window and runs the routines until the quit message; returns its exit code, or 0 when
// the window cannot be made (then no routine runs).
int runIntro(const IntroRoutines& routines);
