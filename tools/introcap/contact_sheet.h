#pragma once
// A contact sheet: frames side by side at half size, four to a row, on a dark ground.

#include <cstdint>
#include <vector>

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> pixels; // 5-6-5, rows packed
};

// Each frame is shrunk to half its size by averaging 2 x 2 pixels. All frames have the first's size.
Picture makeContactSheet(const std::vector<Picture>& frames);
