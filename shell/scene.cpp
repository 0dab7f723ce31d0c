#include "shell/scene.h"

#include "platform/resources.h"
#include "shell/config.h"
#include "shell/credit_glide.h"
#include "shell/frame_loop.h"

int32_t sceneState = StateScroller;
float glidePos = 0.0f;
float glideSpeed = 0.0f;

namespace {

constexpr int32_t CreditHeight = 20;
constexpr int32_t StarCount = 300;
constexpr int32_t StarLayerHeight = 188;
constexpr int32_t StarBandTop = 227;    // screen row of the layer's first row
constexpr int32_t StarBandHeight = 170; // layer rows that reach the screen

struct CreditLine {
    int32_t state;
    Surface* surface;
    int32_t bitmapId;
    int32_t width;
    int32_t y;
    int32_t next;
};

const CreditLine creditLines[] = {
    {StateCredit1, &credit1, Credit1Bitmap, 306, 288, StateCredit2},
    {StateCredit2, &credit2, Credit2Bitmap, 204, 298, StateCredit3},
    {StateCredit3, &credit3, Credit3Bitmap, 179, 308, StateCredit4},
    {StateCredit4, &credit4, Credit4Bitmap, 356, 298, StateScroller},
};

const CreditLine* creditLineOf(int32_t state) {
    for (const CreditLine& line : creditLines)
        if (line.state == state) return &line;
    return nullptr;
}

void startGlide() {
    glidePos = GlideStartPos;
    glideSpeed = GlideStartSpeed;
}

} // namespace

int32_t initScene() {
    sceneState = StateScroller;
    if (!logo.create(screen.directDraw, LogoWidth, LogoHeight, SurfaceSystemMemory)) return 0;
    if (!logo.loadBitmap(bitmapResource(LogoBitmap), 0, 0)) return 0;
    for (const CreditLine& line : creditLines) {
        line.surface->create(screen.directDraw, line.width, CreditHeight, SurfaceVideoMemory);
        line.surface->loadBitmap(bitmapResource(line.bitmapId), 0, 0);
    }
    starfield.init(screen.directDraw, StarCount, ScreenWidth, StarLayerHeight);
    scroller.initFont(screen.directDraw, bitmapResource(FontBitmap), 18, 18, 16, 6);
    scroller.loadText(appInstance);
    scroller.setPath(2.0f, 300, 44.0f, 3);
    return 1;
}

int32_t sceneStateFrames(int32_t state) {
    constexpr int32_t Endless = 1000000;
    if (state == StateScroller) {
        if (scroller.speed <= 0) return 0;
        const int64_t left = int64_t{ScreenWidth} + scroller.textWidth; // text still on screen
        const int64_t drawing = left > 0 ? (left + scroller.speed - 1) / scroller.speed : 0;
        return drawing + 1 < Endless ? static_cast<int32_t>(drawing + 1) : 0;
    }
    const CreditLine* line = creditLineOf(state);
    if (line == nullptr) return 0;
    float pos = GlideStartPos;
    float speed = GlideStartSpeed;
    for (int32_t frames = 1; frames < Endless; ++frames)
        if (glideStep(pos, speed, line->surface->width)) return frames;
    return 0;
}

int32_t drawScene() {
    starfield.move();
    starfield.draw(screen, 0, StarBandTop, ScreenWidth, StarBandHeight, 0, 0);
    logo.blitTo(screen, 0, 0, LogoWidth, LogoHeight, 0, 0);

    if (sceneState == StateScroller) {
        scroller.draw(screen);
        if (scroller.isFinished()) {
            sceneState = StateCredit1;
            startGlide();
            scroller.restart();
        }
        return 1;
    }

    const CreditLine* line = creditLineOf(sceneState);
    if (line == nullptr) return 1;
    Surface& surface = *line->surface;
    const int32_t width = surface.width;
    surface.blitTo(screen, static_cast<int32_t>(glidePos), line->y, width, CreditHeight, 0, 0);
    if (glideStep(glidePos, glideSpeed, width)) {
        sceneState = line->next;
        startGlide();
    }
    return 1;
}
