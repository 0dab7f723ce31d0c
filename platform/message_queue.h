#pragma once
// The queue of posted messages shared by the SDL and headless shells. Like the Win32 queue, it hands
// out posted messages first in, first out, and the quit message only once no posted message is left.

#include "platform/shell_platform.h"

void queueReset();
void queuePost(const ShellMessage& message);
void queuePostQuit(int32_t exitCode);
// Takes the next posted message other than quit. False when there is none.
bool queueTakePosted(ShellMessage* message);
// Takes the quit message once it has been posted. Ask only when nothing else is waiting.
bool queueTakeQuit(ShellMessage* message);
