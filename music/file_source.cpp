#include "music/file_source.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "music/source.h"

namespace {
int lastOpenErrno;

struct FileSource {
    FILE* file;
    int32_t size;
    int32_t position;
};
} // namespace

void* fileSourceOpen(const char* path) {
    errno = 0;
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) {
        lastOpenErrno = path ? errno : EINVAL;
        return nullptr;
    }
    // A first read shows whether the file can be read at all (a directory opens but cannot be read).
    if (fgetc(file) == EOF && ferror(file)) {
        lastOpenErrno = errno ? errno : EIO;
        fclose(file);
        return nullptr;
    }
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
    if (size < 0 || size > 0x7FFFFFFFL || fseek(file, 0, SEEK_SET) != 0) {
        lastOpenErrno = size < 0 ? (errno ? errno : EIO) : 0;
        fclose(file);
        return nullptr;
    }
    auto* source = static_cast<FileSource*>(calloc(1, sizeof(FileSource)));
    if (!source) {
        fclose(file);
        lastOpenErrno = ENOMEM;
        return nullptr;
    }
    source->file = file;
    source->size = static_cast<int32_t>(size);
    return source;
}

void fileSourceClose(void* handle) {
    auto* source = static_cast<FileSource*>(handle);
    if (!source) return;
    fclose(source->file);
    free(source);
}

int32_t fileSourceRead(uint8_t* destination, int32_t count, void* handle) {
    auto* source = static_cast<FileSource*>(handle);
    if (!source || count <= 0) return 0;
    size_t got = fread(destination, 1, static_cast<size_t>(count), source->file);
    source->position += static_cast<int32_t>(got);
    return static_cast<int32_t>(got);
}

int32_t fileSourceSeek(void* handle, int32_t offset, int32_t origin) {
    auto* source = static_cast<FileSource*>(handle);
    if (!source) return 0;
    const int32_t position = sourceSeekPosition(source->position, source->size, offset, origin);
    if (fseek(source->file, static_cast<long>(position), SEEK_SET) == 0) {
        source->position = position;
    }
    return source->position;
}

int32_t fileSourceTell(void* handle) {
    auto* source = static_cast<FileSource*>(handle);
    return source ? source->position : 0;
}

void fileSourceRegister() {
    setSourceCallbacks(fileSourceOpen, fileSourceClose, fileSourceRead, fileSourceSeek, fileSourceTell);
}

int fileSourceOpenErrno() {
    return lastOpenErrno;
}
