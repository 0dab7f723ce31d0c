#pragma once
// Reader callbacks over files (stdio), for the command-line tools, tests, benchmarks and the fuzzer's
// reproducer: the name given to moduleLoad is the file's path.

#include <cstdint>

void* fileSourceOpen(const char* path); // null if the file cannot be opened or is 2 GiB or larger
void fileSourceClose(void* file);
int32_t fileSourceRead(uint8_t* destination, int32_t count, void* file);
int32_t fileSourceSeek(void* file, int32_t offset, int32_t origin); // returns the new position
int32_t fileSourceTell(void* file);

// Registers the five functions above as the process's reader callbacks.
void fileSourceRegister();

// The errno of the last fileSourceOpen that failed, 0 if the file was too large.
int fileSourceOpenErrno();
