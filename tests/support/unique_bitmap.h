#pragma once
// A FreeImage bitmap owned by a test: unloaded when it goes out of scope.
#include <FreeImage.h>

#include <memory>

namespace lumivane::testing {

struct BitmapUnloader {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

using UniqueBitmap = std::unique_ptr<FIBITMAP, BitmapUnloader>;

}  // namespace lumivane::testing
