// The resource API over the files that the build embedded into the binary.

#include "platform/embedded/embedded_resources.h"
#include "platform/resources.h"

#include <cstring>

namespace {

// Resource types and names compare without regard to case, as Win32 resource lookups do.
bool sameName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char ca = (*a >= 'a' && *a <= 'z') ? static_cast<char>(*a - 32) : *a;
        char cb = (*b >= 'a' && *b <= 'z') ? static_cast<char>(*b - 32) : *b;
        if (ca != cb) return false;
        if (ca == '\0') return true;
    }
}

const EmbeddedResource* findById(const char* type, int id) {
    for (int i = 0; i < embeddedResourceCount; ++i) {
        const EmbeddedResource& r = embeddedResources[i];
        if (r.name == nullptr && r.id == id && sameName(r.type, type)) return &r;
    }
    return nullptr;
}

bool giveBytes(const EmbeddedResource* r, ResourceBytes* out) {
    if (r == nullptr || out == nullptr) return false;
    out->data = r->data;
    out->size = r->size;
    return true;
}

} // namespace

bool resourceBitmap(int id, ResourceBytes* out) {
    return giveBytes(findById("BITMAP", id), out);
}

bool resourceIcon(int id, ResourceBytes* out) {
    return giveBytes(findById("ICON", id), out);
}

int resourceString(int id, char* buffer, int bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return 0;
    buffer[0] = '\0';
    const EmbeddedResource* r = findById("STRING", id);
    if (r == nullptr) return 0;
    uint32_t count = r->size;
    if (count > static_cast<uint32_t>(bufferSize - 1)) count = static_cast<uint32_t>(bufferSize - 1);
    std::memcpy(buffer, r->data, count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

bool resourceData(const char* type, const char* name, ResourceBytes* out) {
    if (type == nullptr || name == nullptr) return false;
    for (int i = 0; i < embeddedResourceCount; ++i) {
        const EmbeddedResource& r = embeddedResources[i];
        if (r.name != nullptr && sameName(r.type, type) && sameName(r.name, name)) return giveBytes(&r, out);
    }
    return false;
}
