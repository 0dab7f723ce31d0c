#pragma once
// The Win32 shell's hand-over from the entry point.

#include <windows.h>

// The instance handle given to WinMain, for the window class and the icon.
void win32SetInstance(HINSTANCE instance);
