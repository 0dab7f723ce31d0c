#include "tools/xmtool/tool_common.h"

#include <cstdio>
#include <cstring>

#include "music/file_source.h"
#include "music/xm_loader.h"

Module* toolLoadModule(const char* path, SampleDecoder decoder) {
    fileSourceRegister();
    Module* module = moduleLoad(path, decoder);
    if (module) return module;
    const char* reason = moduleLoadError();
    if (strcmp(reason, "cannot open the module") == 0) {
        int error = fileSourceOpenErrno();
        reason = error ? strerror(error) : "file too large";
    }
    fprintf(stderr, "xmtool: %s: %s\n", path, reason);
    return nullptr;
}

int toolUsageError(const char* message) {
    fprintf(stderr, "xmtool: %s\nTry 'xmtool --help'.\n", message);
    return ExitUsage;
}

bool toolIsHelp(const char* argument) {
    return strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0;
}
