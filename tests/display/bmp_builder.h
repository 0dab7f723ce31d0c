#pragma once
// Builds BMP files in memory for the display tests, and a display fixture shared by them.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display/display.h"

struct Rgb {
    uint8_t red, green, blue;
};

// An uncompressed 8-bit bottom-up BMP (or top-down when topDown): `indices` row by row, top row first.
std::vector<uint8_t> buildBmp8(int32_t width, int32_t height, const std::vector<Rgb>& palette,
                               const std::vector<uint8_t>& indices, bool topDown = false);

// An uncompressed 24-bit bottom-up BMP, top row first in `pixels`.
std::vector<uint8_t> buildBmp24(int32_t width, int32_t height, const std::vector<Rgb>& pixels);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::string tempPath(const std::string& name);

// Little-endian stores into a built file, to spoil it.
void store16(std::vector<uint8_t>& bytes, size_t at, uint32_t value);
void store32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);

// A headless 640x480 16-bit display with the screen-sized clip list, as the intro sets it up.
class HeadlessDisplayTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // One pixel of a surface (locks and unlocks it).
    static uint16_t pixelAt(SurfaceBase& surface, int32_t x, int32_t y);
    // Number of non-zero pixels in a rectangle of a surface.
    static int32_t countLit(SurfaceBase& surface, int32_t left, int32_t top, int32_t right, int32_t bottom);

    Display screen;
};
