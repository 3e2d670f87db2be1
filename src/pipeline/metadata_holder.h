#pragma once
// Keeps a decoded file's metadata while the edits replace its bitmap, so that the encoder can put it back.
#include <FreeImage.h>

namespace lumivane {

// A 10 x 10 8-bit bitmap carrying a copy of the metadata of decoded (which stays the caller's). The caller owns the
// holder and unloads it when the file is done; nullptr when it cannot be allocated or decoded is nullptr.
FIBITMAP* CreateMetadataHolder(FIBITMAP* decoded);

}  // namespace lumivane
