// The shell seam over SDL2: the window itself belongs to the display's SDL presenter, which opens it in
// Display::init; here are the events, the posted messages, the tick count and the cursor.

#include <SDL.h>

#include <cstdio>

#include "platform/message_queue.h"
#include "platform/shell_platform.h"

namespace {

WindowProcedure procedure = nullptr;

ShellMessage translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN: {
        const SDL_Keycode key = event.key.keysym.sym;
        return ShellMessage{ShellMessageKind::KeyDown,
                            key == SDLK_ESCAPE ? KeyEscape : static_cast<uint32_t>(key), 0};
    }
    case SDL_QUIT: // the window's close button or a termination signal: end as Escape does
        return ShellMessage{ShellMessageKind::Destroy, 0, 0};
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) return ShellMessage{ShellMessageKind::Paint, 0, 0};
        break;
    default:
        break;
    }
    return ShellMessage{ShellMessageKind::Other, 0, 0};
}

} // namespace

bool shellCreateWindow(const WindowSpec& spec) {
    if (spec.procedure == nullptr) return false;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "intro: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    queueReset();
    procedure = spec.procedure;
    procedure(ShellMessage{ShellMessageKind::Create, 0, 0});
    return true;
}

void* shellWindowHandle() {
    return nullptr;
} // the presenter opens its own window
void* shellInstance() {
    return nullptr;
}

bool shellPeekMessage(ShellMessage* message) {
    if (queueTakePosted(message)) return true;
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
        *message = translate(event);
        return true;
    }
    return queueTakeQuit(message);
}

void shellDispatchMessage(const ShellMessage& message) {
    if (procedure) procedure(message); // SDL has no default handling to apply
}

void shellPostDestroy() {
    queuePost(ShellMessage{ShellMessageKind::Destroy, 0, 0});
}
void shellPostQuit(int32_t exitCode) {
    queuePostQuit(exitCode);
}
uint32_t shellTicks() {
    return SDL_GetTicks();
}
void shellShowCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}
void shellReport(const char* line) {
    std::fprintf(stderr, "%s\n", line);
}
