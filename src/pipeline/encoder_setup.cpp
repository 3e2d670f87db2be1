#include "pipeline/encoder_setup.h"

#include <mutex>

#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>

namespace lumivane {
namespace {

void IgnoreFreeImageMessage(FREE_IMAGE_FORMAT, const char*) {}

}  // namespace

void InitialiseEncoders() {
  static std::once_flag once;
  std::call_once(once, [] {
    FreeImage_SetOutputMessage(IgnoreFreeImageMessage);
    ilInit();
    iluInit();
  });
}

}  // namespace lumivane
