#pragma once
// A one-line text scroller: string 1 moves left a few pixels per frame, each character lifted or
// lowered on a sine wave by the column it is at. Glyphs are cut from a bitmap font laid out as a grid
// of cells for the character codes 32 upwards, one pixel of grid line between cells.

#include <cstdint>

#include "display/surface.h"

constexpr int32_t ScrollTextCapacity = 512; // characters and the terminator
constexpr int32_t FirstGlyphCode = 32;

class SineScroller {
  public:
    SineScroller();
    SineScroller(const SineScroller&) = delete;
    SineScroller& operator=(const SineScroller&) = delete;
    virtual ~SineScroller();

    // Loads the font bitmap `name` and works out where each of the columns x rows glyphs lies.
    // Puts the text at the right edge. Returns 1.
    int32_t initFont(GfxDevice* directDraw, const char* name, int32_t cellWidth, int32_t cellHeight,
                     int32_t columns, int32_t rows);
    // Takes the scroll text from string 1 of the program's resources; needs the cell width of initFont.
    // The instance handle is that of the entry point; the resource layer finds the program by itself.
    // Returns 1.
    int32_t loadText(void* instance);
    int32_t setPath(float frequency, int32_t baseline, float amplitude, int32_t speed);
    // Draws the characters within reach of the screen and moves the text on. Once the whole text has
    // left the screen it draws nothing and reports itself finished. Returns 1.
    int32_t draw(SurfaceBase& dest);
    int32_t isFinished() const { return finished; }
    // Back to the right edge, not finished.
    void restart();

    Surface font;
    float scrollX = 0.0f; // where the text starts, before the 2-pixel offset of draw
    char text[ScrollTextCapacity] = {};
    int32_t textLength = 0;
    int32_t textWidth = 0; // textLength * cellWidth - 1
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
    int32_t* glyphX = nullptr; // source of each glyph, by character code - FirstGlyphCode
    int32_t* glyphY = nullptr;
    int32_t glyphCount = 0; // entries in glyphX and glyphY
    float frequency = 2.0f;
    int32_t baseline = 240;
    float amplitude = 44.0f;
    int32_t speed = 0;
    int32_t finished = 0;
};
