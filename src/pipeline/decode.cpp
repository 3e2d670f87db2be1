#include "pipeline/decode.h"

#include <iterator>

namespace lumivane {

namespace {

// One row per `Input/RAW Load As` code: the headerless mode tried first (0 for none) and the RAW load flags.
struct RawLoadAsRow {
  std::int32_t code;
  int rawPixelsMode;
  int rawLoadFlags;
};

constexpr RawLoadAsRow kRawLoadAsRows[] = {
    {kRawLoadAsAuto, 0, RAW_PREVIEW},
    {kRawLoadAs8, kRawPixels8, RAW_DEFAULT},
    {kRawLoadAs16, kRawPixels16, RAW_DEFAULT},
    {kRawLoadAs24, 0, RAW_DISPLAY},
    {kRawLoadAs48HalfSize, 0, RAW_HALFSIZE},
    {kRawLoadAs48, 0, RAW_DEFAULT},
};

// The flag values are part of the file format contract with FreeImage, not just names.
static_assert(RAW_DEFAULT == 0 && RAW_PREVIEW == 1 && RAW_DISPLAY == 2 && RAW_HALFSIZE == 4);
static_assert(FIF_RAW == 34 && FIF_JPEG == 2);

constexpr bool RowsFollowCodes() {
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(kRawLoadAsRows)); ++i) {
    if (kRawLoadAsRows[i].code != i) return false;
  }
  return true;
}
static_assert(RowsFollowCodes(), "one row per code, in code order");

// Best quality, and turned upright by the EXIF orientation.
constexpr int kJpegLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;
static_assert(kJpegLoadFlags == 10);

const RawLoadAsRow* FindRow(std::int32_t rawLoadAs) {
  for (const auto& row : kRawLoadAsRows) {
    if (row.code == rawLoadAs) return &row;
  }
  return nullptr;
}

}  // namespace

int RawLoadFlags(std::int32_t rawLoadAs) {
  const RawLoadAsRow* row = FindRow(rawLoadAs);
  return row != nullptr ? row->rawLoadFlags : RAW_DEFAULT;
}

std::vector<DecodeMethod> DecodeOrder(const DecodeOptions& options) {
  std::vector<DecodeMethod> order;
  const RawLoadAsRow* row = FindRow(options.rawLoadAs);
  if (row != nullptr && row->rawPixelsMode == kRawPixels8) order.push_back(DecodeMethod::kRawPixels8);
  if (row != nullptr && row->rawPixelsMode == kRawPixels16) order.push_back(DecodeMethod::kRawPixels16);
  order.push_back(DecodeMethod::kCameraRaw);
  order.push_back(DecodeMethod::kJpeg);
  if (options.geometry.width != 0 && options.geometry.height != 0) order.push_back(DecodeMethod::kRawPixels16);
  return order;
}

FIBITMAP* DecodeWith(DecodeMethod method, const std::string& path, const DecodeOptions& options) {
  switch (method) {
    case DecodeMethod::kRawPixels8:
      return LoadRawPixelData(path, kRawPixels8, options.geometry);
    case DecodeMethod::kRawPixels16:
      return LoadRawPixelData(path, kRawPixels16, options.geometry);
    case DecodeMethod::kCameraRaw:
      return FreeImage_Load(FIF_RAW, path.c_str(), RawLoadFlags(options.rawLoadAs));
    case DecodeMethod::kJpeg:
      return FreeImage_Load(FIF_JPEG, path.c_str(), kJpegLoadFlags);
  }
  return nullptr;
}

FIBITMAP* DecodeInputImage(const std::string& path, const DecodeOptions& options) {
  for (const DecodeMethod method : DecodeOrder(options)) {
    if (FIBITMAP* image = DecodeWith(method, path, options)) return image;
  }
  return nullptr;
}

}  // namespace lumivane
