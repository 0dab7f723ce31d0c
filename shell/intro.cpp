#include "shell/intro.h"

#include "platform/shell_platform.h"
#include "shell/config.h"
#include "shell/frame_loop.h"
#include "shell/music_startup.h"
#include "shell/scene.h"

int initIntro() {
    if (!screen.init(mainWindow, ScreenWidth, ScreenHeight, ScreenDepth)) return 0;
    const GfxRect wholeScreen{0, 0, ScreenWidth, ScreenHeight};
    screen.setClipList(1, &wholeScreen);
    shellShowCursor(false);
    if (!initScene()) return 0;
    if (!startMusic()) return 0;
    return 1;
}

int renderFrame() {
    screen.fill(0);
    drawScene();
    screen.present();
    return 1;
}

int shutdownIntro() {
    stopMusic();
    screen.release();
    return 1;
}
