#include "pipeline/camera_raw.h"

#include "pipeline/fit_decode.h"
#include "pipeline/raw_file_facts.h"

namespace lumivane {

namespace {

// The report's words for the decode FIT took.
constexpr std::string_view kHalfSizeDecode = "half-size RAW decode";
constexpr std::string_view kFullSizeDecode = "full-size RAW decode";

bool HasPreviewSize(FIBITMAP* image, ImageSize preview) {
  const ImageSize size{static_cast<std::int32_t>(FreeImage_GetWidth(image)),
                       static_cast<std::int32_t>(FreeImage_GetHeight(image))};
  // A preview may come turned upright by its orientation tag.
  return size == preview || size == ImageSize{preview.height, preview.width};
}

}  // namespace

DecodeResult DecodeCameraRaw(const std::string& path, const DecodeOptions& options, int rawLoadFlags) {
  const bool fit = options.rawLoadAs == RawLoadAs::kFit;
  const RawFileFacts facts = ReadRawFileFacts(path, fit);
  const bool wantsPreview = (rawLoadFlags & RAW_PREVIEW) != 0;
  int flags = rawLoadFlags;
  if (wantsPreview && facts.preview == PreviewState::kCut) flags = RAW_DISPLAY;
  const bool halfSize = fit && HalfSizeDecodeFits(facts.fullSize, facts.halfSize, options.transform);
  if (halfSize) flags |= RAW_HALFSIZE;

  DecodeResult decoded;
  const bool rawDataCut = facts.rawData == RawDataState::kCut;
  if (rawDataCut && !(wantsPreview && facts.preview == PreviewState::kWhole)) {
    decoded.rawDataCut = true;
    return decoded;
  }
  decoded.image.reset(FreeImage_Load(FIF_RAW, path.c_str(), flags));
  // When the preview cannot be read after all, the library decodes the RAW data instead.
  if (decoded.image && rawDataCut && !HasPreviewSize(decoded.image.get(), facts.previewSize)) {
    decoded.image.reset();
    decoded.rawDataCut = true;
  }
  if (decoded.image && fit) decoded.decodeUsed = halfSize ? kHalfSizeDecode : kFullSizeDecode;
  return decoded;
}

}  // namespace lumivane
