#include "pipeline/encode_image.h"

#include <array>
#include <string_view>

#include "pipeline/encode_devil.h"
#include "pipeline/encode_freeimage.h"
#include "pipeline/encode_jxr.h"
#include "pipeline/exact_palette_bmp.h"
#include "platform/file_write.h"

namespace lumivane {
namespace {

enum class EncoderRoute { kDevil, kDevilWithMipmaps, kJpegXr };

struct RouteRow {
  std::string_view format;
  EncoderRoute route;
};

// Formats that FreeImage does not write here; every other one goes through FreeImage.
constexpr std::array<RouteRow, 4> kRoutes = {{
    {"dds", EncoderRoute::kDevilWithMipmaps},
    {"jxr", EncoderRoute::kJpegXr},
    {"pcx", EncoderRoute::kDevil},
    {"psd", EncoderRoute::kDevil},
}};

const RouteRow* RouteOf(std::string_view format) {
  for (const RouteRow& row : kRoutes) {
    if (row.format == format) return &row;
  }
  return nullptr;
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodeImageFile(FIBITMAP* image, FIBITMAP* metadataHolder,
                                                          const EncodeRequest& request) {
  if (image == nullptr) return std::nullopt;
  if (const RouteRow* row = RouteOf(request.format)) {
    switch (row->route) {
      case EncoderRoute::kDevil:
        return EncodeWithDevil(image, request.encoderTypeId, false);
      case EncoderRoute::kDevilWithMipmaps:
        return EncodeWithDevil(image, request.encoderTypeId, true);
      case EncoderRoute::kJpegXr:
        return EncodeJpegXr(image, request.saveFlags);
    }
  }
  if (request.format == "bmp" && request.outputBitDepth == 8 && request.bmpColorTable == kBmpColorTableExact) {
    return EncodeExactPaletteBitmap(image, request.encoderTypeId, request.saveFlags, request.bmpCompression);
  }
  return EncodeFreeImageFile(image, metadataHolder, request);
}

bool EncodeImage(FIBITMAP* image, FIBITMAP* metadataHolder, const EncodeRequest& request) {
  const std::optional<std::vector<unsigned char>> file = EncodeImageFile(image, metadataHolder, request);
  return file.has_value() && WriteFileViaTemporary(request.temporaryPath, request.outputPath, *file);
}

}  // namespace lumivane
