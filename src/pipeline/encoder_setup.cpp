#include "pipeline/encoder_setup.h"

#include <cstdarg>
#include <mutex>

#include <dlfcn.h>

#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>

namespace lumivane {
namespace {

void IgnoreFreeImageMessage(FREE_IMAGE_FORMAT, const char*) {}

// libtiff comes with FreeImage (we do not link it ourselves) and by default prints its warnings and errors, for
// example one line per EXIF tag it does not know on every TIFF save with camera metadata. Its setters are looked up
// in the process; a null handler makes libtiff quiet. The encoders' results still tell success from failure.
void SilenceLibtiff() {
  using Handler = void (*)(const char*, const char*, va_list);
  using SetHandler = Handler (*)(Handler);
  for (const char* name : {"TIFFSetWarningHandler", "TIFFSetErrorHandler"}) {
    if (void* symbol = dlsym(RTLD_DEFAULT, name)) reinterpret_cast<SetHandler>(symbol)(nullptr);
  }
}

}  // namespace

void InitialiseEncoders() {
  static std::once_flag once;
  std::call_once(once, [] {
    FreeImage_SetOutputMessage(IgnoreFreeImageMessage);
    SilenceLibtiff();
    ilInit();
    iluInit();
  });
}

}  // namespace lumivane
