// The resource API over the Win32 resources that resources/intro.rc links into the executable.

#include "platform/resources.h"

#include <windows.h>

namespace {

bool lockResource(HRSRC found, ResourceBytes* out) {
    if (found == nullptr || out == nullptr) return false;
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (loaded == nullptr) return false;
    const void* bytes = LockResource(loaded);
    if (bytes == nullptr) return false;
    out->data = static_cast<const uint8_t*>(bytes);
    out->size = SizeofResource(nullptr, found);
    return true;
}

} // namespace

// GDI loads the bitmaps straight from the executable (LoadImageA), and RT_BITMAP holds no file
// header, so there are no BMP file bytes to hand out here.
bool resourceBitmap(int, ResourceBytes*) {
    return false;
}

// Likewise the window class takes its icon from the executable; an icon group holds no .ico file.
bool resourceIcon(int, ResourceBytes*) {
    return false;
}

int resourceString(int id, char* buffer, int bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return 0;
    buffer[0] = '\0';
    return LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, bufferSize);
}

bool resourceData(const char* type, const char* name, ResourceBytes* out) {
    if (type == nullptr || name == nullptr) return false;
    return lockResource(FindResourceA(nullptr, name, type), out);
}
