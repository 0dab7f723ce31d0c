// The shell seam over the Win32 user interface: the window class and popup window, the message queue,
// GetTickCount and the cursor.

#include <windows.h>

#include "platform/shell_platform.h"
#include "platform/win32/win32_shell.h"

namespace {

HINSTANCE instance = nullptr;
HWND window = nullptr;
WindowProcedure procedure = nullptr;
MSG lastMessage = {}; // what shellPeekMessage took, for TranslateMessage and DispatchMessageA

ShellMessage translate(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_CREATE:
        return ShellMessage{ShellMessageKind::Create, 0, 0};
    case WM_PAINT:
        return ShellMessage{ShellMessageKind::Paint, 0, 0};
    case WM_DESTROY:
        return ShellMessage{ShellMessageKind::Destroy, 0, 0};
    case WM_KEYDOWN:
        return ShellMessage{ShellMessageKind::KeyDown,
                            wParam == VK_ESCAPE ? KeyEscape : static_cast<uint32_t>(wParam), 0};
    case WM_QUIT:
        return ShellMessage{ShellMessageKind::Quit, 0, static_cast<int32_t>(wParam)};
    default:
        return ShellMessage{ShellMessageKind::Other, 0, 0};
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (procedure != nullptr && procedure(translate(message, wParam)) == MessageResult::Handled) return 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void win32SetInstance(HINSTANCE entryInstance) {
    instance = entryInstance;
}

bool shellCreateWindow(const WindowSpec& spec) {
    procedure = spec.procedure;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(spec.iconId));
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(spec.iconId));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = spec.className;
    if (!RegisterClassExA(&windowClass)) return false;
    window = CreateWindowExA(0, spec.className, spec.title, WS_POPUP | WS_VISIBLE, 0, 0, spec.width,
                             spec.height, nullptr, nullptr, instance, nullptr);
    return window != nullptr;
}

void* shellWindowHandle() {
    return window;
}
void* shellInstance() {
    return instance;
}

bool shellPeekMessage(ShellMessage* message) {
    if (!PeekMessageA(&lastMessage, nullptr, 0, 0, PM_REMOVE)) return false;
    *message = translate(lastMessage.message, lastMessage.wParam);
    return true;
}

void shellDispatchMessage(const ShellMessage&) {
    TranslateMessage(&lastMessage);
    DispatchMessageA(&lastMessage);
}

void shellPostDestroy() {
    PostMessageA(window, WM_DESTROY, 0, 0);
}
void shellPostQuit(int32_t exitCode) {
    PostQuitMessage(exitCode);
}
uint32_t shellTicks() {
    return GetTickCount();
}
void shellShowCursor(bool visible) {
    ShowCursor(visible ? TRUE : FALSE);
}

void shellReport(const char* line) {
    OutputDebugStringA(line);
    OutputDebugStringA("\n");
}
