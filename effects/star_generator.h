#pragma once
// The stars' random numbers: a 32-bit linear congruential generator whose state always starts at 1,
// so the star field is the same on every run.

#include <cstdint>

struct StarGenerator {
    uint32_t state = 1;

    // 0..32767.
    int32_t next() {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }
};
