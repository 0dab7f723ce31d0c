#pragma once
// How a credit line glides: in from the right, slowing down until its centre passes the middle of the
// screen, then speeding away to the left.

#include <cstdint>

constexpr float GlideStartPos = 640.0f; // LogoWidth: every line starts just off the right edge
constexpr float GlideStartSpeed = 6.0f;

// One frame of the glide for a line `width` pixels wide, after it has been drawn at trunc(pos):
// the speed changes by the side of the centre the line is on, then the line moves. True when the
// moved line lies wholly beyond the left edge. The sums are worked out in double precision and
// rounded to single precision when stored; the exit test looks at the unrounded position.
bool glideStep(float& pos, float& speed, int32_t width);
