// All global objects live in this one file so that they are constructed in the order written and
// destroyed in reverse: the screen first, then the scene's objects.

#include "shell/scene.h"

Display screen;
Surface logo;
Surface credit1;
Surface credit2;
Surface credit3;
Surface credit4;
Starfield starfield;
SineScroller scroller;
