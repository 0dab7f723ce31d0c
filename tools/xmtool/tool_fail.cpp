#include <cstdio>

#include "tools/xmtool/playback_verbs.h"
#include "tools/xmtool/tool_common.h"

int toolFail(const char* subject, const char* reason) {
    std::fprintf(stderr, "xmtool: %s: %s\n", subject, reason);
    return ExitFailure;
}
