#include "pipeline/encode_image.h"

#include <array>
#include <string_view>

#include "pipeline/encode_devil.h"
#include "pipeline/encode_freeimage.h"
#include "pipeline/encode_jxr.h"
#include "pipeline/exact_palette_bmp.h"

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

bool EncodeImage(FIBITMAP* image, FIBITMAP* metadataHolder, const EncodeRequest& request) {
  if (image == nullptr) return false;
  if (const RouteRow* row = RouteOf(request.format)) {
    switch (row->route) {
      case EncoderRoute::kDevil:
        return SaveWithDevil(image, request, false);
      case EncoderRoute::kDevilWithMipmaps:
        return SaveWithDevil(image, request, true);
      case EncoderRoute::kJpegXr:
        return SaveJpegXr(image, request);
    }
  }
  if (request.format == "bmp" && request.outputBitDepth == 8 && request.bmpColorTable == kBmpColorTableExact) {
    return SaveExactPaletteBitmap(image, request);
  }
  return SaveWithFreeImage(image, metadataHolder, request);
}

}  // namespace lumivane
