#include "cli/entry.h"

#include <cstdio>

namespace lumivane {

int RunProgram(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::fputs("Lumivane 3.0\r\n", stdout);
  return 0;
}

}  // namespace lumivane
