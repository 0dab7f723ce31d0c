// The program's entry point with SDL2.

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include "platform/shell_platform.h"

int main(int, char**) {
    SDL_SetMainReady();
    const int exitCode = introMain();
    SDL_Quit();
    return exitCode;
}
