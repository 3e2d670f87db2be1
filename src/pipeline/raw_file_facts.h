#pragma once
// What the camera decoder finds in a file's header, read before any pixels are decoded: whether the RAW data and
// the embedded preview are whole, and the sizes the decodes will have. The camera decoder's own header cannot be
// included beside the bitmap library's (they define the same type names differently), so this header holds plain
// types only.
#include <string>

#include "pipeline/raw_data_extent.h"
#include "pipeline/resize_plan.h"

namespace lumivane {

enum class PreviewState : std::int8_t {
  kNone,   // the file declares no embedded preview
  kWhole,  // its bytes lie inside the file
  kCut,    // they reach past the end of the file
};

struct RawFileFacts {
  RawDataState rawData = RawDataState::kUnknown;
  PreviewState preview = PreviewState::kNone;
  ImageSize previewSize;  // as the file declares it ({0, 0} when unknown)
  ImageSize fullSize;     // of the full-size decode, in the orientation it is returned ({0, 0} when unknown)
  ImageSize halfSize;     // of the half-size decode; asked for only with withHalfSize
};

// The facts of the file at path. A file the camera decoder refuses has no sizes and no preview, and its RAW data
// is kCut when it is a CRW file whose own tables show it cut short, else kUnknown.
RawFileFacts ReadRawFileFacts(const std::string& path, bool withHalfSize);

}  // namespace lumivane
