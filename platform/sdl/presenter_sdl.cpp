// The SDL2 presenter: frames of the software backend shown in a window, scaled to fit with their
// aspect kept, full-screen on the desktop unless INTRO_WINDOWED=1.

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/soft/pixel_convert.h"
#include "platform/soft/presenter.h"

namespace {

const char* const WindowTitle = "Quorvan DirectDraw Wrapper";

struct SdlScreen {
    SDL_Window* window;
    bool ownsWindow;
    SDL_Renderer* renderer;
    SDL_Texture* texture;
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    uint16_t* converted; // 8-bit frames through their palette
};

SdlScreen sdl;

bool windowed() {
    const char* value = std::getenv("INTRO_WINDOWED");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

} // namespace

bool presenterOpen(WindowHandle window, int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    sdl = SdlScreen{};
    sdl.width = width;
    sdl.height = height;
    sdl.bitsPerPixel = bitsPerPixel;
    sdl.window = static_cast<SDL_Window*>(window);
    if (sdl.window == nullptr) {
        const Uint32 flags = windowed() ? 0u : static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP);
        sdl.window = SDL_CreateWindow(WindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                      height, flags);
        sdl.ownsWindow = true;
    } else if (!windowed()) {
        SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    if (sdl.window != nullptr) sdl.renderer = SDL_CreateRenderer(sdl.window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (sdl.renderer == nullptr && sdl.window != nullptr)
        sdl.renderer = SDL_CreateRenderer(sdl.window, -1, 0);
    if (sdl.renderer != nullptr) {
        SDL_RenderSetLogicalSize(sdl.renderer, width, height);
        sdl.texture = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                        width, height);
    }
    if (bitsPerPixel == 8)
        sdl.converted =
            static_cast<uint16_t*>(std::calloc(static_cast<size_t>(width) * height, sizeof(uint16_t)));
    if (sdl.texture == nullptr || (bitsPerPixel == 8 && sdl.converted == nullptr)) {
        presenterClose();
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    SDL_SetRenderDrawColor(sdl.renderer, 0, 0, 0, 255);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderPresent(sdl.renderer);
    return true;
}

void presenterShow(const uint8_t* pixels, int32_t pitch, const PaletteEntry* palette) {
    if (sdl.texture == nullptr) return;
    if (sdl.bitsPerPixel == 8) {
        frameTo565(pixels, pitch, 8, palette, sdl.width, sdl.height, sdl.converted);
        pixels = reinterpret_cast<const uint8_t*>(sdl.converted);
        pitch = 2 * sdl.width;
    }
    SDL_UpdateTexture(sdl.texture, nullptr, pixels, pitch);
    SDL_RenderClear(sdl.renderer);
    SDL_RenderCopy(sdl.renderer, sdl.texture, nullptr, nullptr);
    SDL_RenderPresent(sdl.renderer);
}

void presenterClose() {
    if (sdl.texture != nullptr) SDL_DestroyTexture(sdl.texture);
    if (sdl.renderer != nullptr) SDL_DestroyRenderer(sdl.renderer);
    if (sdl.window != nullptr && sdl.ownsWindow) SDL_DestroyWindow(sdl.window);
    std::free(sdl.converted);
    sdl = SdlScreen{};
    SDL_ShowCursor(SDL_ENABLE);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
