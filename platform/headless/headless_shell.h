#pragma once
// Controls of the headless shell: a virtual millisecond clock that moves only when told to, a scripted
// message queue and a hook run on every look at the queue, so that a test or introcap can play the
// part of time and of the user.

#include <cstdint>

using PeekHook = void (*)(void* context);

// Back to the start: empty queue, clock at 0, no hook, cursor shown, window creation succeeds.
void headlessResetShell();

void headlessSetTicks(uint32_t ticks);
void headlessAdvanceTicks(uint32_t milliseconds);

// Queues a key-down as if the user had pressed the key.
void headlessPressKey(uint32_t key);

// Called at the start of every shellPeekMessage: once per pass of the frame loop.
void headlessSetPeekHook(PeekHook hook, void* context);

// Makes the next shellCreateWindow fail.
void headlessFailWindow(bool fail);

bool headlessWindowCreated();
bool headlessCursorVisible();
