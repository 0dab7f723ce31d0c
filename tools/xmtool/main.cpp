// xmtool VERB [ARGUMENTS]: the music engine on the command line.

#include <cstdio>
#include <cstring>

#include "tools/xmtool/playback_verbs.h"
#include "tools/xmtool/tool_common.h"
#include "tools/xmtool/verbs.h"

namespace {

struct Verb {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* const* usage; // one line: arguments and what the verb does
};

const Verb Verbs[] = {
    {"info", infoMain, &InfoUsage},
    {"render", renderMain, &RenderUsage},
    {"trace", traceMain, &TraceUsage},
    {"play", playMain, &PlayUsage},
};

void printUsage(FILE* out) {
    fprintf(out, "usage: xmtool VERB [ARGUMENTS]\n\nverbs:\n");
    for (const Verb& verb : Verbs) fprintf(out, "  %s %s\n", verb.name, *verb.usage);
    fprintf(out,
            "\nxmtool VERB --help describes a verb. Exit status: 0 success, 1 failure, 2 usage error.\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return ExitUsage;
    }
    if (toolIsHelp(argv[1])) {
        printUsage(stdout);
        return ExitOk;
    }
    for (const Verb& verb : Verbs) {
        if (strcmp(argv[1], verb.name) == 0) return verb.run(argc - 2, argv + 2);
    }
    char message[128];
    snprintf(message, sizeof message, "unknown verb '%.60s'", argv[1]);
    return toolUsageError(message);
}
