#pragma once
// The verbs of xmtool. Each takes the arguments after its name and returns the exit status.

int infoMain(int argc, char** argv);
extern const char* const InfoUsage;
