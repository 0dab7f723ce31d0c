#pragma once
// The little the engine needs to know about threads, without pulling in a threads library.

#include <cstdint>

// A number that tells the calling thread apart from every other running thread; never 0.
uintptr_t threadCurrentId();

// Lets another ready thread run before the caller goes on spinning.
void threadYield();
