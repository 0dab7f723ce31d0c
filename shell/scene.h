#pragma once
// What the intro shows: the stars through the logo's band, the logo, and either the sine scroller or
// one of four credit lines gliding across, in an endless cycle.

#include <cstdint>

#include "display/display.h"
#include "display/surface.h"
#include "effects/sine_scroller.h"
#include "effects/starfield.h"

enum SceneState : int32_t {
    StateScroller = 2,
    StateCredit1 = 6,
    StateCredit2 = 7,
    StateCredit3 = 8,
    StateCredit4 = 9,
};

// The global objects, constructed in this order (screen first) and destroyed in reverse.
extern Display screen;
extern Surface logo;
extern Surface credit1;
extern Surface credit2;
extern Surface credit3;
extern Surface credit4;
extern Starfield starfield;
extern SineScroller scroller;

extern int32_t sceneState;
extern float glidePos;   // left edge of the gliding credit line
extern float glideSpeed; // its leftward movement per frame

// Creates the logo, the credit lines, the starfield and the scroller on the screen's device. 1 when
// the logo is ready, 0 otherwise; the other parts simply stay empty if they fail.
int32_t initScene();

// Draws one frame of the scene onto the cleared back buffer and moves the sequence on. Returns 1.
int32_t drawScene();

// How many frames the scene stays in a state, from the scroll text and the credit lines' widths as
// set up by initScene: the scroller's frames with text plus the one that finds it finished, or the
// frames of a credit line's glide. 0 for a state that never ends or is no state.
int32_t sceneStateFrames(int32_t state);
