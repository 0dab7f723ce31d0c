// The headless presenter: frames go to memory instead of a screen.

#include <cstdlib>

#include "platform/headless/headless_display.h"
#include "platform/headless/png_writer.h"
#include "platform/soft/pixel_convert.h"
#include "platform/soft/presenter.h"

namespace {

struct HeadlessScreen {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    uint16_t* frame; // allocated when the mode is set, so that presenting allocates nothing
    uint32_t frameCount;
    HeadlessFrameHandler handler;
    void* user;
};

HeadlessScreen memoryScreen;

} // namespace

bool presenterOpen(WindowHandle, int32_t width, int32_t height, int32_t bitsPerPixel) {
    std::free(memoryScreen.frame);
    memoryScreen.frame =
        static_cast<uint16_t*>(std::calloc(static_cast<size_t>(width) * height, sizeof(uint16_t)));
    if (memoryScreen.frame == nullptr) return false;
    memoryScreen.width = width;
    memoryScreen.height = height;
    memoryScreen.bitsPerPixel = bitsPerPixel;
    memoryScreen.frameCount = 0;
    return true;
}

void presenterShow(const uint8_t* pixels, int32_t pitch, const PaletteEntry* palette) {
    if (memoryScreen.frame == nullptr) return;
    frameTo565(pixels, pitch, memoryScreen.bitsPerPixel, palette, memoryScreen.width, memoryScreen.height,
               memoryScreen.frame);
    ++memoryScreen.frameCount;
    if (memoryScreen.handler != nullptr)
        memoryScreen.handler(memoryScreen.frame, memoryScreen.width, memoryScreen.height, memoryScreen.user);
}

void presenterClose() {}

const uint16_t* headlessLastFrame(int32_t* width, int32_t* height) {
    if (memoryScreen.frame == nullptr || memoryScreen.frameCount == 0) return nullptr;
    if (width != nullptr) *width = memoryScreen.width;
    if (height != nullptr) *height = memoryScreen.height;
    return memoryScreen.frame;
}

uint32_t headlessFrameCount() {
    return memoryScreen.frameCount;
}

bool headlessWritePng(const char* path) {
    int32_t width = 0, height = 0;
    const uint16_t* frame = headlessLastFrame(&width, &height);
    return frame != nullptr && writePng565(path, frame, width, height);
}

void headlessSetFrameHandler(HeadlessFrameHandler handler, void* user) {
    memoryScreen.handler = handler;
    memoryScreen.user = user;
}
