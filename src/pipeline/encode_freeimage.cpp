#include "pipeline/encode_freeimage.h"

namespace lumivane {
namespace {

// FreeImage's pbm and pgm encoders store the pixel values and ignore the palette: pbm bits are written as they
// are, although 1 means black in a pbm file, and pgm stores palette indices as grey levels. So both get an image
// whose values mean what the format says, as pfm gets its rows in the format's order. A preparation returns nullptr
// when the image can go as it is, else a new bitmap for the caller to unload (or an empty one when the conversion
// failed, see PreparedImage).

// pbm: 1 bit with 1 = black. FreeImage's 1-bit images from dithering or threshold have black at index 0.
FIBITMAP* AsPortableBitmapBits(FIBITMAP* image, bool& failed) {
  if (FreeImage_GetBPP(image) != 1 || FreeImage_GetColorType(image) == FIC_MINISWHITE) return nullptr;
  FIBITMAP* blackIsZero = nullptr;
  if (FreeImage_GetColorType(image) == FIC_MINISBLACK) {
    blackIsZero = FreeImage_Clone(image);
  } else {
    FIBITMAP* grey = FreeImage_ConvertToGreyscale(image);
    blackIsZero = grey == nullptr ? nullptr : FreeImage_Threshold(grey, 128);
    if (grey != nullptr) FreeImage_Unload(grey);
  }
  failed = blackIsZero == nullptr || FreeImage_Invert(blackIsZero) == FALSE;
  return blackIsZero;
}

// pgm: 8-bit grey levels, from whatever palette the image has.
FIBITMAP* AsGreyLevels(FIBITMAP* image, bool& failed) {
  if (FreeImage_GetBPP(image) != 8 || FreeImage_GetColorType(image) == FIC_MINISBLACK) return nullptr;
  FIBITMAP* grey = FreeImage_ConvertToGreyscale(image);
  failed = grey == nullptr;
  return grey;
}

// pfm: the picture upside down, so that FreeImage's writer, which stores the top row first, stores the bottom row
// first as the format has it.
FIBITMAP* AsUpsideDown(FIBITMAP* image, bool& failed) {
  FIBITMAP* flipped = FreeImage_Clone(image);
  failed = flipped == nullptr || FreeImage_FlipVertical(flipped) == FALSE;
  return flipped;
}

// The bitmap to hand to the encoder: the image itself, or a prepared copy that PreparedImage owns.
class PreparedImage {
 public:
  PreparedImage(FIBITMAP* image, EncoderRoute route) : image_(image) {
    if (route == EncoderRoute::kFreeImageBlackIsOne) made_ = AsPortableBitmapBits(image, failed_);
    if (route == EncoderRoute::kFreeImageGreyLevels) made_ = AsGreyLevels(image, failed_);
    if (route == EncoderRoute::kFreeImageFlipped) made_ = AsUpsideDown(image, failed_);
  }
  ~PreparedImage() {
    if (made_ != nullptr) FreeImage_Unload(made_);
  }
  PreparedImage(const PreparedImage&) = delete;
  PreparedImage& operator=(const PreparedImage&) = delete;

  // nullptr when the preparation failed.
  FIBITMAP* get() const { return failed_ ? nullptr : (made_ != nullptr ? made_ : image_); }

 private:
  FIBITMAP* image_;
  FIBITMAP* made_ = nullptr;
  bool failed_ = false;
};

// What the decoder attached (LibRaw's short summary, a JPEG's whole EXIF with its thumbnails and maker note) would
// be written by FreeImage's encoders as a second, stale set; the ICC profile is kept.
void DropDecoderMetadata(FIBITMAP* image) {
  FreeImage_SetThumbnail(image, nullptr);
  for (const FREE_IMAGE_MDMODEL model :
       {FIMD_COMMENTS, FIMD_EXIF_MAIN, FIMD_EXIF_EXIF, FIMD_EXIF_GPS, FIMD_EXIF_MAKERNOTE, FIMD_EXIF_INTEROP, FIMD_IPTC,
        FIMD_XMP, FIMD_GEOTIFF, FIMD_EXIF_RAW}) {
    FreeImage_SetMetadata(model, image, nullptr, nullptr);
  }
}

}  // namespace

bool EncodeWithFreeImage(FIBITMAP* image, int encoderTypeId, int saveFlags,
                         const std::function<bool(std::span<const unsigned char>)>& use) {
  if (image == nullptr) return false;
  FIMEMORY* stream = FreeImage_OpenMemory(nullptr, 0);
  if (stream == nullptr) return false;
  bool ok = FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(encoderTypeId), image, stream, saveFlags) != FALSE;
  BYTE* data = nullptr;
  DWORD size = 0;
  ok = ok && FreeImage_AcquireMemory(stream, &data, &size) != FALSE && data != nullptr && size > 0;
  ok = ok && use(std::span<const unsigned char>(data, size));
  FreeImage_CloseMemory(stream);
  return ok;
}

std::optional<std::vector<unsigned char>> EncodeFreeImageFile(FIBITMAP* image, const OutputFormat& format,
                                                              int saveFlags) {
  if (image == nullptr) return std::nullopt;
  const PreparedImage prepared(image, format.route);
  if (prepared.get() == nullptr) return std::nullopt;
  DropDecoderMetadata(prepared.get());
  std::vector<unsigned char> file;
  const bool ok = EncodeWithFreeImage(prepared.get(), format.encoderTypeId, saveFlags,
                                      [&file](std::span<const unsigned char> bytes) {
                                        file.assign(bytes.begin(), bytes.end());
                                        return true;
                                      });
  if (!ok) return std::nullopt;
  return file;
}

}  // namespace lumivane
