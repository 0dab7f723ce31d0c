#include "platform/shell_platform.h"
#include "shell/frame_loop.h"
#include "shell/intro.h"

int introMain() {
    return runIntro(IntroRoutines{initIntro, renderFrame, shutdownIntro});
}
