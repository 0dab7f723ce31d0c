#pragma once
// The table of resource files compiled into the binary; generated at build time by
// resources/embed_resources.cmake.

#include <cstdint>

struct EmbeddedResource {
    const char* type; // "BITMAP", "STRING", "ICON" or a custom type such as "XM"
    const char* name; // null for resources known by number
    int id;           // 0 for resources known by name
    const uint8_t* data;
    uint32_t size;
};

extern const EmbeddedResource embeddedResources[];
extern const int embeddedResourceCount;
