#pragma once
// The three routines that frame the intro: set-up, one frame, tear-down.

#include <cstdint>

// The display in full-screen mode with its clip list, the cursor hidden, the scene and the music.
// 1 when everything needed is set up, 0 otherwise.
int initIntro();

// Clears the back buffer, draws the scene, presents it. Returns 1.
int renderFrame();

// Stops the music and releases the display, with which every surface ends. Returns 1.
int shutdownIntro();
