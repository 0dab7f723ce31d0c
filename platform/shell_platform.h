#pragma once
// The little the shell needs from the window system: one borderless window covering the screen, a
// message queue that delivers the Escape key-down and the quit message, and a millisecond tick count
// that wraps at 2^32. Win32 messages on Windows, SDL events elsewhere, a scripted queue and a virtual
// clock headless (platform/headless/headless_shell.h).

#include <cstdint>

struct AudioDevice;

// The program itself, run by the platform's entry point; returns the exit code.
int introMain();

enum class ShellMessageKind : int32_t {
    Create,
    Paint,
    Destroy,
    KeyDown, // key holds the key code
    Quit,    // exitCode holds the code given to shellPostQuit
    Other,
};

enum : uint32_t { KeyEscape = 0x1B };

struct ShellMessage {
    ShellMessageKind kind;
    uint32_t key;
    int32_t exitCode;
};

// What the window procedure did with a message: done, or left to the platform's default handling.
enum class MessageResult : int32_t { Handled, Default };

using WindowProcedure = MessageResult (*)(const ShellMessage& message);

struct WindowSpec {
    const char* className;
    const char* title;
    int32_t width;
    int32_t height;
    int32_t iconId;
    WindowProcedure procedure;
};

// Registers the class and opens the window; the procedure receives every dispatched message.
// False when either fails.
bool shellCreateWindow(const WindowSpec& spec);

// The window's native handle (HWND on Windows, null elsewhere), for the display.
void* shellWindowHandle();

// The instance handle given to the entry point (HINSTANCE on Windows, null elsewhere).
void* shellInstance();

// Takes at most one message off the queue without waiting. False when there is none.
bool shellPeekMessage(ShellMessage* message);

// Hands a message taken by shellPeekMessage to the window procedure, then applies the default
// handling if the procedure asks for it.
void shellDispatchMessage(const ShellMessage& message);

// Posts a destroy message to the window (the window itself stays).
void shellPostDestroy();

// Posts the quit message; the loop that takes it ends with exitCode.
void shellPostQuit(int32_t exitCode);

// Milliseconds since some fixed moment; wraps at 2^32.
uint32_t shellTicks();

void shellShowCursor(bool visible);

// The sound device the intro plays on; null for none (the output then opens without a device and
// whoever runs the intro renders the music itself, as introcap does).
const AudioDevice* shellAudioDevice();

// Where the intro plays, silently, when shellAudioDevice cannot be opened; null where the intro must
// end instead.
const AudioDevice* shellSilentAudioDevice();

// One line for whoever watches the program (standard error, or the debugger on Windows).
void shellReport(const char* line);
