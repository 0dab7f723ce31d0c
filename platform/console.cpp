#include "platform/console.h"

#ifdef _WIN32

#include <conio.h>
#include <io.h>

bool consoleIsTerminal(int stream) {
    return _isatty(stream) != 0;
}

void consoleKeysOpen() {}

void consoleKeysClose() {}

int consoleKeyPoll() {
    if (!_isatty(0) || !_kbhit()) return -1;
    return _getch();
}

#else

#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
bool keysOpen = false;
termios savedMode;
} // namespace

bool consoleIsTerminal(int stream) {
    return isatty(stream) != 0;
}

void consoleKeysOpen() {
    if (keysOpen || !isatty(0) || tcgetattr(0, &savedMode) != 0) return;
    termios raw = savedMode;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    keysOpen = tcsetattr(0, TCSANOW, &raw) == 0;
}

void consoleKeysClose() {
    if (!keysOpen) return;
    tcsetattr(0, TCSANOW, &savedMode);
    keysOpen = false;
}

int consoleKeyPoll() {
    if (!keysOpen) return -1;
    pollfd input{0, POLLIN, 0};
    if (poll(&input, 1, 0) <= 0) return -1;
    unsigned char key = 0;
    return read(0, &key, 1) == 1 ? key : -1;
}

#endif
