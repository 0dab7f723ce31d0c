#pragma once
// The intro's embedded resources, the same on every platform: Win32 resources compiled from
// resources/intro.rc on Windows, the same files embedded into the binary elsewhere.

#include <cstdint>

struct ResourceBytes {
    const uint8_t* data;
    uint32_t size;
};

enum ResourceId {
    LogoBitmap = 101,
    FontBitmap = 102,
    Credit1Bitmap = 106,
    Credit2Bitmap = 103,
    Credit3Bitmap = 104,
    Credit4Bitmap = 105,
    IntroIcon = 107,
    ScrollTextString = 1,
};

// A bitmap by number as the bytes of a BMP file (file header included). False if there is none.
// On Windows the display backend loads bitmaps through GDI instead; this is for the software backend.
bool resourceBitmap(int id, ResourceBytes* out);

// String number id copied into buffer (zero-terminated, cut to bufferSize - 1 characters).
// Returns the number of characters copied, 0 if there is no such string.
int resourceString(int id, char* buffer, int bufferSize);

// A raw data resource by type and name, such as the module of type "XM" named "TRACK".
bool resourceData(const char* type, const char* name, ResourceBytes* out);

// An icon group by number as the bytes of an .ico file (16x16 and 32x32 images), for a window icon.
// False if there is none. On Windows the window class takes the icon straight from the executable.
bool resourceIcon(int id, ResourceBytes* out);
