#pragma once
// What the verbs of xmtool share: exit statuses, loading a module from a file, error reporting.

#include "music/module.h"

enum ExitStatus { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

// Loads path with the file reader callbacks. On failure prints "xmtool: FILE: reason" on stderr and
// returns null.
Module* toolLoadModule(const char* path, SampleDecoder decoder = nullptr);

// Prints "xmtool: message" and a hint to --help on stderr; returns ExitUsage.
int toolUsageError(const char* message);

// True if argument is "--help" or "-h".
bool toolIsHelp(const char* argument);
