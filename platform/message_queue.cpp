#include "platform/message_queue.h"

namespace {

// Far more than the shell ever has waiting: it posts one message per key press and takes one per pass.
constexpr int Capacity = 256;

ShellMessage posted[Capacity];
int head = 0;
int count = 0;
bool quitPosted = false;
int32_t quitCode = 0;

} // namespace

void queueReset() {
    head = 0;
    count = 0;
    quitPosted = false;
    quitCode = 0;
}

void queuePost(const ShellMessage& message) {
    if (count == Capacity) return; // a full queue drops the message, as a full Win32 queue does
    posted[(head + count) % Capacity] = message;
    ++count;
}

void queuePostQuit(int32_t exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

bool queueTakePosted(ShellMessage* message) {
    if (count == 0) return false;
    *message = posted[head];
    head = (head + 1) % Capacity;
    --count;
    return true;
}

bool queueTakeQuit(ShellMessage* message) {
    if (quitPosted) {
        quitPosted = false;
        *message = ShellMessage{ShellMessageKind::Quit, 0, quitCode};
        return true;
    }
    return false;
}
