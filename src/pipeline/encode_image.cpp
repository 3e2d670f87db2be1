#include "pipeline/encode_image.h"

#include "formats/registry.h"
#include "pipeline/bitmap_file_mends.h"
#include "pipeline/encode_devil.h"
#include "pipeline/encode_freeimage.h"
#include "pipeline/encode_jxr.h"
#include "pipeline/exact_palette_bmp.h"

namespace lumivane {
namespace {

using EncodedFile = std::optional<std::vector<unsigned char>>;

// The file after the mend, or no value when there was none or the mend refused it.
EncodedFile Mended(EncodedFile file, bool (*mend)(std::vector<unsigned char>&)) {
  if (!file || !mend(*file)) return std::nullopt;
  return file;
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodeImageFile(FIBITMAP* image, const EncodeRequest& request) {
  const OutputFormat* format = FindOutputFormat(request.format);
  if (image == nullptr || format == nullptr) return std::nullopt;
  switch (format->route) {
    case EncoderRoute::kDevil: return EncodeWithDevil(image, format->encoderTypeId, false);
    case EncoderRoute::kDevilWithMipmaps: return EncodeWithDevil(image, format->encoderTypeId, true);
    case EncoderRoute::kJpegXr: return EncodeJpegXr(image, request.saveFlags);
    case EncoderRoute::kFreeImageBitmap:
      if (request.outputBitDepth == 8 && request.bmpColorTable == ColorTable::kExact) {
        return Mended(EncodeExactPaletteBitmap(image, format->encoderTypeId, request.saveFlags, request.bmpCompression),
                      MendRle8Bitmap);
      }
      return Mended(EncodeFreeImageFile(image, *format, request.saveFlags), MendRle8Bitmap);
    case EncoderRoute::kFreeImageIcon:
      return Mended(EncodeFreeImageFile(image, *format, request.saveFlags), MendSixteenBitIcon);
    case EncoderRoute::kFreeImage:
    case EncoderRoute::kFreeImageBlackIsOne:
    case EncoderRoute::kFreeImageGreyLevels:
    case EncoderRoute::kFreeImageFlipped:
    case EncoderRoute::kFreeImageTiff: break;
  }
  return EncodeFreeImageFile(image, *format, request.saveFlags);
}

}  // namespace lumivane
