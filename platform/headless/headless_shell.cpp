#include "platform/headless/headless_shell.h"

#include <cstdio>

#include "platform/message_queue.h"
#include "platform/shell_platform.h"

namespace {

uint32_t ticks = 0;
PeekHook peekHook = nullptr;
void* peekContext = nullptr;
bool failWindow = false;
bool windowCreated = false;
bool cursorVisible = true;
WindowProcedure procedure = nullptr;

} // namespace

void headlessResetShell() {
    queueReset();
    ticks = 0;
    peekHook = nullptr;
    peekContext = nullptr;
    failWindow = false;
    windowCreated = false;
    cursorVisible = true;
    procedure = nullptr;
}

void headlessSetTicks(uint32_t value) {
    ticks = value;
}
void headlessAdvanceTicks(uint32_t milliseconds) {
    ticks += milliseconds;
}

void headlessPressKey(uint32_t key) {
    queuePost(ShellMessage{ShellMessageKind::KeyDown, key, 0});
}

void headlessSetPeekHook(PeekHook hook, void* context) {
    peekHook = hook;
    peekContext = context;
}

void headlessFailWindow(bool fail) {
    failWindow = fail;
}
bool headlessWindowCreated() {
    return windowCreated;
}
bool headlessCursorVisible() {
    return cursorVisible;
}

bool shellCreateWindow(const WindowSpec& spec) {
    if (failWindow || !spec.procedure) return false;
    procedure = spec.procedure;
    windowCreated = true;
    procedure(ShellMessage{ShellMessageKind::Create, 0, 0});
    return true;
}

void* shellWindowHandle() {
    return nullptr;
}
void* shellInstance() {
    return nullptr;
}

bool shellPeekMessage(ShellMessage* message) {
    if (peekHook) peekHook(peekContext);
    return queueTakePosted(message) || queueTakeQuit(message);
}

void shellDispatchMessage(const ShellMessage& message) {
    if (procedure) procedure(message); // there is no default handling to apply
}

void shellPostDestroy() {
    queuePost(ShellMessage{ShellMessageKind::Destroy, 0, 0});
}
void shellPostQuit(int32_t exitCode) {
    queuePostQuit(exitCode);
}
uint32_t shellTicks() {
    return ticks;
}
void shellShowCursor(bool visible) {
    cursorVisible = visible;
}

// Headless, the music is rendered by whoever runs the intro, in step with the virtual clock.
const AudioDevice* shellAudioDevice() {
    return nullptr;
}
const AudioDevice* shellSilentAudioDevice() {
    return nullptr;
}

void shellReport(const char* line) {
    std::fprintf(stderr, "%s\n", line);
}
