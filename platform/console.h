#pragma once
// The text console of the command-line tools: whether a standard stream is a terminal, and single key
// presses read without waiting for Enter.

// True when standard output (stream 1) or standard error (stream 2) is a terminal.
bool consoleIsTerminal(int stream);

// While open, key presses on standard input are read one by one, without echo. Does nothing when
// standard input is not a terminal.
void consoleKeysOpen();
void consoleKeysClose();

// The next key pressed, or -1 when none is waiting. Never blocks.
int consoleKeyPoll();
