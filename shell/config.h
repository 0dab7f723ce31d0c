#pragma once
// The screen mode and the logo's size. Nothing is configurable at run time.

#include <cstdint>

#include "effects/screen_size.h" // ScreenWidth, ScreenHeight

constexpr int32_t ScreenDepth = 16;
constexpr int32_t LogoWidth = 640;
constexpr int32_t LogoHeight = 480;
