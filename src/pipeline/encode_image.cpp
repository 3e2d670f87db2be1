#include "pipeline/encode_image.h"

#include "formats/registry.h"
#include "pipeline/encode_devil.h"
#include "pipeline/encode_freeimage.h"
#include "pipeline/encode_jxr.h"
#include "pipeline/exact_palette_bmp.h"

namespace lumivane {

std::optional<std::vector<unsigned char>> EncodeImageFile(FIBITMAP* image, FIBITMAP* metadataHolder,
                                                          const EncodeRequest& request) {
  const OutputFormat* format = FindOutputFormat(request.format);
  if (image == nullptr || format == nullptr) return std::nullopt;
  switch (format->route) {
    case EncoderRoute::kDevil: return EncodeWithDevil(image, format->encoderTypeId, false);
    case EncoderRoute::kDevilWithMipmaps: return EncodeWithDevil(image, format->encoderTypeId, true);
    case EncoderRoute::kJpegXr: return EncodeJpegXr(image, request.saveFlags);
    case EncoderRoute::kFreeImageBitmap:
      if (request.outputBitDepth == 8 && request.bmpColorTable == ColorTable::kExact) {
        return EncodeExactPaletteBitmap(image, format->encoderTypeId, request.saveFlags, request.bmpCompression);
      }
      break;
    case EncoderRoute::kFreeImage:
    case EncoderRoute::kFreeImageBlackIsOne:
    case EncoderRoute::kFreeImageGreyLevels: break;
  }
  return EncodeFreeImageFile(image, metadataHolder, *format, request.saveFlags);
}

}  // namespace lumivane
