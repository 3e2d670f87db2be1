// lumivanecmd: the process entry; everything else lives in the lumivane library.
#include "cli/entry.h"

int main(int argc, char** argv) { return lumivane::RunProgram(argc, argv); }
