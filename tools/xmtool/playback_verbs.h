#pragma once
// The verbs of xmtool that play a module. Each takes the arguments after its name and returns the exit
// status; the usage texts are one line for xmtool's verb list.

int renderMain(int argc, char** argv);
int traceMain(int argc, char** argv);
int playMain(int argc, char** argv);
extern const char* const RenderUsage;
extern const char* const TraceUsage;
extern const char* const PlayUsage;

// Prints "xmtool: subject: reason" on stderr and returns the failure status.
int toolFail(const char* subject, const char* reason);
