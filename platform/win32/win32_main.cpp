// The program's entry point on Windows.

#include <windows.h>

#include "platform/shell_platform.h"
#include "platform/win32/win32_shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    win32SetInstance(instance);
    return introMain();
}
