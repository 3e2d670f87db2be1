#pragma once
// The owner of a FreeImage bitmap: the bitmap is unloaded when its owner goes, on every path.
#include <FreeImage.h>

#include <memory>

namespace lumivane {

struct BitmapUnloader {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using OwnedBitmap = std::unique_ptr<FIBITMAP, BitmapUnloader>;

}  // namespace lumivane
