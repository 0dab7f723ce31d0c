#pragma once
// Loads an XM module through the registered reader callbacks into a Module, and frees it again.

#include "music/module.h"
#include "music/source.h"

// Opens name through the reader callbacks and parses it. decoder, if not null, supplies the samples'
// values in place of the file's. Null on failure; moduleLoadError() then says why.
Module* moduleLoad(const char* name, SampleDecoder decoder);

// Why the last moduleLoad failed, as a short text such as "not an XM module" or "truncated"; "" after
// a successful load.
const char* moduleLoadError();

// Releases the module and everything it owns, stopping it first if it plays. False for null.
bool moduleFree(Module* module);

// The parser that moduleLoad runs over a fresh module and an open stream.
bool xmParse(Module* module, SourceStream* stream);
