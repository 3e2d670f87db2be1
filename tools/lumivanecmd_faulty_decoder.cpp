// lumivanecmd with a decoder that misbehaves on request, for the tests of worker isolation only: the program is
// the shipped one (same library, same entry), but its calls of FreeImage_Load first look at the file's first bytes.
// A file that starts with "LUMIVANE-ABORT" aborts the decoder, "LUMIVANE-SEGV" makes it fault, "LUMIVANE-HANG"
// makes it sleep for ever; every other file goes on to FreeImage's own FreeImage_Load.
#include <FreeImage.h>
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "cli/entry.h"

namespace {

std::string FirstBytes(const char* path) {
  std::ifstream file(path, std::ios::binary);
  char head[16] = {};
  file.read(head, sizeof head);
  return std::string(head, static_cast<std::size_t>(file.gcount()));
}

void MisbehaveOn(const char* path) {
  const std::string head = FirstBytes(path);
  if (head.starts_with("LUMIVANE-ABORT")) std::abort();
  if (head.starts_with("LUMIVANE-SEGV")) {
    ::signal(SIGSEGV, SIG_DFL);  // a plain fault: a sanitizer's handler would report this deliberate one
    ::raise(SIGSEGV);
  }
  if (head.starts_with("LUMIVANE-HANG")) {
    for (;;) ::pause();
  }
}

}  // namespace

// Defined in the program, so the library's calls land here first; RTLD_NEXT finds FreeImage's own.
extern "C" FIBITMAP* DLL_CALLCONV FreeImage_Load(FREE_IMAGE_FORMAT format, const char* path, int flags) {
  if (path != nullptr) MisbehaveOn(path);
  using Load = FIBITMAP* (*)(FREE_IMAGE_FORMAT, const char*, int);
  static const auto real = reinterpret_cast<Load>(::dlsym(RTLD_NEXT, "FreeImage_Load"));
  return real != nullptr ? real(format, path, flags) : nullptr;
}

int main(int argc, char** argv) { return lumivane::RunProgram(argc, argv); }
