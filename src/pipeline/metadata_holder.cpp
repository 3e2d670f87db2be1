#include "pipeline/metadata_holder.h"

namespace lumivane {

FIBITMAP* CreateMetadataHolder(FIBITMAP* decoded) {
  if (decoded == nullptr) return nullptr;
  FIBITMAP* holder = FreeImage_AllocateT(FIT_BITMAP, 10, 10, 8, 0, 0, 0);
  if (holder != nullptr) FreeImage_CloneMetadata(holder, decoded);
  return holder;
}

}  // namespace lumivane
