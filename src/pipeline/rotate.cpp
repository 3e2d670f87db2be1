#include "pipeline/edit_steps.h"
#include "pipeline/replace_image.h"
#include "settings/colour.h"

namespace lumivane {

namespace {

// Angles outside this range (0, full turns, negative angles) leave the image as it is.
constexpr std::int32_t kFirstRotation = 1;
constexpr std::int32_t kLastRotation = 359;

FIBITMAP* RotateOnGrowingCanvas(FIBITMAP* image, double angle, const std::string& backColour) {
  const RgbColour colour = ParseColour(backColour);
  RGBQUAD back{};
  back.rgbRed = colour.r;
  back.rgbGreen = colour.g;
  back.rgbBlue = colour.b;
  back.rgbReserved = 0;  // a 32-bit image gets transparent corners
  return FreeImage_Rotate(image, angle, &back);
}

FIBITMAP* RotateAboutCentre(FIBITMAP* image, double angle, unsigned width, unsigned height) {
  return FreeImage_RotateEx(image, angle, 0.0, 0.0, width / 2.0, height / 2.0, FALSE);
}

bool Rotates(const Settings::Transform& transform) {
  return transform.doImageRotation != 0 && transform.imageRotation >= kFirstRotation &&
         transform.imageRotation <= kLastRotation;
}

}  // namespace

FIBITMAP* RotateImage(FIBITMAP* image, const Settings& settings) {
  const Settings::Transform& transform = settings.transform;
  if (image == nullptr || !Rotates(transform)) return image;
  const unsigned width = FreeImage_GetWidth(image);
  const unsigned height = FreeImage_GetHeight(image);
  // Rotation works on 24- and 32-bit images; palettes, 16-bit and deep images become 24-bit first.
  image = ConvertTo24BitsOutside(image, 24, 32);
  if (image == nullptr) return nullptr;

  const double angle = transform.imageRotation;
  switch (transform.imageRotationType) {
    case RotationType::kSimple:
      return ReplaceImage(image, RotateOnGrowingCanvas(image, angle, transform.imageRotationBackColor));
    case RotationType::kAdvanced: return ReplaceImage(image, RotateAboutCentre(image, angle, width, height));
    default: return image;
  }
}

std::optional<ImageSize> RotatedSize(ImageSize size, const Settings::Transform& transform) {
  if (!Rotates(transform) || transform.imageRotationType != RotationType::kSimple) return size;
  // A simple rotation turns by quarter turns exactly; other angles grow the canvas.
  switch (transform.imageRotation) {
    case 90:
    case 270: return ImageSize{size.height, size.width};
    case 180: return size;
    default: return std::nullopt;
  }
}

}  // namespace lumivane
