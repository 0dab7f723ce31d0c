#pragma once
// The size of the screen the effects draw on.

#include <cstdint>

constexpr int32_t ScreenWidth = 640;
constexpr int32_t ScreenHeight = 480;
