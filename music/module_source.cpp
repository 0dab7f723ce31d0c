#include "music/module_source.h"

#include <cstdlib>
#include <cstring>

#include "music/source.h"

namespace {
const uint8_t* registeredData;
int32_t registeredSize;
} // namespace

void sourceSetData(const uint8_t* data, uint32_t size) {
    registeredData = size ? data : nullptr;
    registeredSize = data ? static_cast<int32_t>(size > 0x7FFFFFFFu ? 0x7FFFFFFFu : size) : 0;
}

void* sourceOpen(const char* /*name*/) {
    auto* source = static_cast<ModuleSource*>(calloc(1, sizeof(ModuleSource)));
    if (!source) return nullptr;
    source->data = registeredData;
    source->size = registeredSize;
    return source;
}

void sourceClose(void* source) {
    free(source);
}

int32_t sourceRead(uint8_t* destination, int32_t count, void* handle) {
    auto* source = static_cast<ModuleSource*>(handle);
    if (!source || count <= 0) return 0;
    if (static_cast<int64_t>(source->position) + count >= source->size)
        count = source->size - source->position;
    if (count > 0) {
        memcpy(destination, source->data + source->position, static_cast<size_t>(count));
        source->position += count;
    }
    return count;
}

int32_t sourceSeek(void* handle, int32_t offset, int32_t origin) {
    auto* source = static_cast<ModuleSource*>(handle);
    if (!source) return 0;
    source->position = sourceSeekPosition(source->position, source->size, offset, origin);
    return source->position;
}

int32_t sourceTell(void* handle) {
    auto* source = static_cast<ModuleSource*>(handle);
    return source ? source->position : 0;
}

void sourceRegister() {
    setSourceCallbacks(sourceOpen, sourceClose, sourceRead, sourceSeek, sourceTell);
}
