#pragma once
// The host's reader over the module's bytes in memory: for the intro the embedded module, which the shell
// registers with sourceSetData; tests and the fuzzer register bytes of their own. Register the five
// functions with setSourceCallbacks(sourceOpen, sourceClose, sourceRead, sourceSeek, sourceTell).

#include <cstdint>

struct ModuleSource {
    int32_t size;
    int32_t position;    // next byte to read, 0 to size
    const uint8_t* data; // not owned
};

// The bytes that every later sourceOpen reads; they must outlive the loads. Null or 0 bytes give an
// empty source. More than 2^31 - 1 bytes are cut to that.
void sourceSetData(const uint8_t* data, uint32_t size);

// The name is not used. Each open gives a fresh, independent ModuleSource over the registered bytes.
void* sourceOpen(const char* name);
void sourceClose(void* source);
int32_t sourceRead(uint8_t* destination, int32_t count, void* source);
// Origins SeekSet, SeekCurrent and SeekEnd (offset ignored); others only clamp. The position stays
// within 0..size. Returns the new position.
int32_t sourceSeek(void* source, int32_t offset, int32_t origin);
int32_t sourceTell(void* source);

// Registers the five functions above as the process's reader callbacks.
void sourceRegister();
