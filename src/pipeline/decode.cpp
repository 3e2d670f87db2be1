#include "pipeline/decode.h"

#include <iterator>

#include "pipeline/camera_raw.h"
#include "pipeline/code_table.h"

namespace lumivane {

namespace {

// One row per `Input/RAW Load As` code: the headerless mode tried first (0 for none) and the RAW load flags. FIT's
// row holds the full-size flags; DecodeCameraRaw adds RAW_HALFSIZE where the half-size decode fits.
struct RawLoadMode {
  int rawPixelsMode;
  int rawLoadFlags;
};

constexpr CodeRow<RawLoadAs, RawLoadMode> kRawLoadAsRows[] = {
    {RawLoadAs::kAuto, {0, RAW_PREVIEW}},
    {RawLoadAs::k8, {kRawPixels8, RAW_DEFAULT}},
    {RawLoadAs::k16, {kRawPixels16, RAW_DEFAULT}},
    {RawLoadAs::k24, {0, RAW_DISPLAY}},
    {RawLoadAs::k48HalfSize, {0, RAW_HALFSIZE}},
    {RawLoadAs::k48, {0, RAW_DEFAULT}},
    {RawLoadAs::k24HalfSize, {0, RAW_DISPLAY | RAW_HALFSIZE}},
    {RawLoadAs::kFit, {0, RAW_DISPLAY}},
};

// The flag values are part of the file format contract with FreeImage, not just names.
static_assert(RAW_DEFAULT == 0 && RAW_PREVIEW == 1 && RAW_DISPLAY == 2 && RAW_HALFSIZE == 4);
static_assert(FIF_RAW == 34 && FIF_JPEG == 2);

static_assert(CodesRunFromZero(kRawLoadAsRows), "one row per code, in code order");

// Best quality, and turned upright by the EXIF orientation.
constexpr int kJpegLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;
static_assert(kJpegLoadFlags == 10);

// Codes without a row name no RAW mode.
RawLoadMode ModeOf(RawLoadAs rawLoadAs) { return ValueForCode(kRawLoadAsRows, rawLoadAs, RawLoadMode{0, RAW_DEFAULT}); }

}  // namespace

int RawLoadFlags(RawLoadAs rawLoadAs) { return ModeOf(rawLoadAs).rawLoadFlags; }

std::vector<DecodeMethod> DecodeOrder(const DecodeOptions& options) {
  std::vector<DecodeMethod> order;
  const int rawPixelsMode = ModeOf(options.rawLoadAs).rawPixelsMode;
  if (rawPixelsMode == kRawPixels8) order.push_back(DecodeMethod::kRawPixels8);
  if (rawPixelsMode == kRawPixels16) order.push_back(DecodeMethod::kRawPixels16);
  order.push_back(DecodeMethod::kCameraRaw);
  order.push_back(DecodeMethod::kJpeg);
  if (options.geometry.width != 0 && options.geometry.height != 0) order.push_back(DecodeMethod::kRawPixels16);
  return order;
}

DecodeResult DecodeWith(DecodeMethod method, const std::string& path, const DecodeOptions& options) {
  DecodeResult decoded;
  switch (method) {
    case DecodeMethod::kRawPixels8: decoded.image.reset(LoadRawPixelData(path, kRawPixels8, options.geometry)); break;
    case DecodeMethod::kRawPixels16: decoded.image.reset(LoadRawPixelData(path, kRawPixels16, options.geometry)); break;
    case DecodeMethod::kCameraRaw: return DecodeCameraRaw(path, options, RawLoadFlags(options.rawLoadAs));
    case DecodeMethod::kJpeg: decoded.image.reset(FreeImage_Load(FIF_JPEG, path.c_str(), kJpegLoadFlags)); break;
  }
  return decoded;
}

DecodeResult DecodeInputImage(const std::string& path, const DecodeOptions& options, DecodeMethod* used) {
  DecodeResult decoded;
  for (const DecodeMethod method : DecodeOrder(options)) {
    decoded = DecodeWith(method, path, options);
    if (decoded.image && used != nullptr) *used = method;
    if (decoded.image || decoded.rawDataCut) break;
  }
  return decoded;
}

bool DecodedUpright(DecodeMethod used, RawLoadAs rawLoadAs, FIBITMAP* decoded) {
  switch (used) {
    case DecodeMethod::kRawPixels8:
    case DecodeMethod::kRawPixels16: return false;
    case DecodeMethod::kJpeg: return true;
    case DecodeMethod::kCameraRaw:
      return rawLoadAs != RawLoadAs::kAuto || FreeImage_GetMetadataCount(FIMD_EXIF_MAIN, decoded) > 0;
  }
  return true;
}

}  // namespace lumivane
