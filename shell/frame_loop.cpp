#include "shell/frame_loop.h"

#include "platform/resources.h"
#include "shell/config.h"

void* mainWindow = nullptr;
void* appInstance = nullptr;
bool introReady = false;
uint32_t lastFrameTime = 0;

MessageResult windowProc(const ShellMessage& message) {
    switch (message.kind) {
    case ShellMessageKind::Create:
    case ShellMessageKind::Paint:
        return MessageResult::Handled;
    case ShellMessageKind::Destroy:
        shellPostQuit(0);
        return MessageResult::Handled;
    case ShellMessageKind::KeyDown:
        if (message.key == KeyEscape) shellPostDestroy();
        return MessageResult::Default;
    default:
        return MessageResult::Default;
    }
}

int runIntro(const IntroRoutines& routines) {
    appInstance = shellInstance();
    const WindowSpec spec{"WINCLASS1", "Quorvan DirectDraw Wrapper", ScreenWidth, ScreenHeight, IntroIcon,
                          windowProc};
    if (!shellCreateWindow(spec)) return 0;
    mainWindow = shellWindowHandle();

    introReady = false;
    if (routines.init()) {
        introReady = true;
    } else {
        shellPostQuit(0);
    }

    lastFrameTime = shellTicks();
    ShellMessage message{};
    for (;;) {
        if (shellPeekMessage(&message)) {
            if (message.kind == ShellMessageKind::Quit) break;
            shellDispatchMessage(message);
        }
        if (frameDue(shellTicks(), lastFrameTime)) {
            if (introReady) routines.render();
            lastFrameTime = shellTicks();
        }
    }
    routines.shutdown();
    introReady = false;
    return message.exitCode;
}
