#include "music/source.h"

#include <cstdlib>

SourceCallbacks sourceCallbacks;

void setSourceCallbacks(SourceOpenFunction open, SourceCloseFunction close, SourceReadFunction read,
                        SourceSeekFunction seek, SourceTellFunction tell) {
    if (open && close && read && seek && tell) {
        sourceCallbacks = SourceCallbacks{open, close, read, seek, tell};
    } else {
        sourceCallbacks = SourceCallbacks{};
    }
}

int32_t sourceSeekPosition(int32_t position, int32_t size, int32_t offset, int32_t origin) {
    int64_t target = position;
    switch (origin & 0xFF) {
    case SeekSet:
        target = offset;
        break;
    case SeekCurrent:
        target += offset;
        break;
    case SeekEnd:
        target = size;
        break;
    default:
        break;
    }
    if (target < 0) return 0;
    if (target > size) return size;
    return static_cast<int32_t>(target);
}

SourceStream* streamOpen(const char* name) {
    if (!sourceCallbacks.open) return nullptr;
    auto* stream = static_cast<SourceStream*>(calloc(1, sizeof(SourceStream)));
    if (!stream) return nullptr;
    stream->handle = sourceCallbacks.open(name);
    if (!stream->handle) {
        free(stream);
        return nullptr;
    }
    return stream;
}

void streamClose(SourceStream* stream) {
    if (!stream) return;
    if (sourceCallbacks.close) sourceCallbacks.close(stream->handle);
    free(stream);
}

int32_t streamRead(uint8_t* destination, int32_t count, SourceStream* stream) {
    if (!stream || !sourceCallbacks.read) return 0;
    return sourceCallbacks.read(destination, count, stream->handle);
}

int32_t streamSeek(SourceStream* stream, int32_t offset, int32_t origin) {
    if (!stream || !sourceCallbacks.seek) return 0;
    return sourceCallbacks.seek(stream->handle, offset, origin);
}

int32_t streamTell(SourceStream* stream) {
    if (!stream || !sourceCallbacks.tell) return 0;
    return sourceCallbacks.tell(stream->handle);
}
