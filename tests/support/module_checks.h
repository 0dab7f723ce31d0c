#pragma once
// What the replay engine and the mixer rely on in a loaded module, checked for tests.

#include <string>

#include "music/module.h"

// "" if the module keeps every promise of the loader, otherwise the first broken one.
std::string moduleCheckInvariants(const Module* module);
