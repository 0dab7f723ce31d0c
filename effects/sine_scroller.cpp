#include "effects/sine_scroller.h"

#include <cstdlib>
#include <cstring>

#include "effects/screen_size.h"
#include "effects/sine_path.h"
#include "platform/resources.h"

SineScroller::SineScroller() = default;

SineScroller::~SineScroller() {
    std::free(glyphX);
    std::free(glyphY);
}

int32_t SineScroller::initFont(GfxDevice* directDraw, const char* name, int32_t cellWidth, int32_t cellHeight,
                               int32_t columns, int32_t rows) {
    this->cellWidth = cellWidth;
    this->cellHeight = cellHeight;
    font.createFromBitmap(directDraw, name, SurfaceVideoMemory);

    std::free(glyphX);
    std::free(glyphY);
    glyphX = nullptr;
    glyphY = nullptr;
    glyphCount = 0;
    if (columns > 0 && rows > 0) {
        const size_t count = static_cast<size_t>(columns) * static_cast<size_t>(rows);
        glyphX = static_cast<int32_t*>(std::calloc(count, sizeof(int32_t)));
        glyphY = static_cast<int32_t*>(std::calloc(count, sizeof(int32_t)));
        if (glyphX != nullptr && glyphY != nullptr) {
            glyphCount = columns * rows;
            for (int32_t r = 0; r < rows; ++r) {
                for (int32_t c = 0; c < columns; ++c) {
                    glyphX[r * columns + c] = 1 + c * (cellWidth + 1);
                    glyphY[r * columns + c] = 1 + r * (cellHeight + 1);
                }
            }
        }
    }
    scrollX = static_cast<float>(ScreenWidth);
    return 1;
}

int32_t SineScroller::loadText(void* /*instance*/) {
    std::memset(text, 0, sizeof text);
    resourceString(ScrollTextString, text, ScrollTextCapacity);
    textLength = static_cast<int32_t>(std::strlen(text));
    textWidth = textLength * cellWidth - 1;
    return 1;
}

int32_t SineScroller::setPath(float frequency, int32_t baseline, float amplitude, int32_t speed) {
    this->frequency = frequency;
    this->baseline = baseline;
    this->amplitude = amplitude;
    this->speed = speed;
    return 1;
}

int32_t SineScroller::draw(SurfaceBase& dest) {
    if (static_cast<double>(textWidth) + static_cast<double>(scrollX) <= 0.0) {
        finished = 1;
        return 1;
    }
    for (int32_t i = 0; i < textLength; ++i) {
        const int32_t gx = glyphColumn(i, cellWidth, scrollX);
        if (!glyphInRange(gx, cellWidth)) continue;
        // Codes without a cell (control codes, bytes 128 to 255) leave their place empty.
        const int32_t k = static_cast<unsigned char>(text[i]) - FirstGlyphCode;
        if (k < 0 || k >= glyphCount) continue;
        const int32_t gy = waveRow(gx, frequency, amplitude, baseline);
        font.blitTo(dest, gx, gy, cellWidth - 1, cellHeight - 1, glyphX[k], glyphY[k]);
    }
    scrollX = static_cast<float>(static_cast<double>(scrollX) - speed);
    return 1;
}

void SineScroller::restart() {
    finished = 0;
    scrollX = static_cast<float>(ScreenWidth);
}
