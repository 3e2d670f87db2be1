#include "pipeline/output_depth.h"

#include <array>

namespace lumivane {
namespace {

// A conversion returns a new bitmap (or nullptr) and leaves the one it was given alone.
using Conversion = FIBITMAP* (*)(FIBITMAP* image, const OutputFormat& format);

// Applies reduce to image, first bringing images deeper than 32 bits down to 24.
FIBITMAP* ReduceFromAtMost32Bits(FIBITMAP* image, FIBITMAP* (*reduce)(FIBITMAP*)) {
  if (FreeImage_GetBPP(image) <= 32) return reduce(image);
  FIBITMAP* standard = FreeImage_ConvertTo24Bits(image);
  if (standard == nullptr) return nullptr;
  FIBITMAP* reduced = reduce(standard);
  FreeImage_Unload(standard);
  return reduced;
}

FIBITMAP* ToRgbFloat(FIBITMAP* image, const OutputFormat&) { return FreeImage_ConvertToRGBF(image); }
FIBITMAP* ToRgb16(FIBITMAP* image, const OutputFormat&) { return FreeImage_ConvertToRGB16(image); }
FIBITMAP* To32Bits(FIBITMAP* image, const OutputFormat&) { return FreeImage_ConvertTo32Bits(image); }
FIBITMAP* To24Bits(FIBITMAP* image, const OutputFormat&) { return FreeImage_ConvertTo24Bits(image); }

FIBITMAP* To16Bits(FIBITMAP* image, const OutputFormat& format) {
  return ReduceFromAtMost32Bits(image, format.sixteenBits == SixteenBitLayout::k555 ? FreeImage_ConvertTo16Bits555
                                                                                    : FreeImage_ConvertTo16Bits565);
}

FIBITMAP* QuantiseWu256(FIBITMAP* image) { return FreeImage_ColorQuantizeEx(image, FIQ_WUQUANT, 256, 0, nullptr); }

FIBITMAP* To8Bits(FIBITMAP* image, const OutputFormat& format) {
  if (format.eightBits == EightBitKind::kGrey) return ReduceFromAtMost32Bits(image, FreeImage_ConvertTo8Bits);
  if (FreeImage_GetBPP(image) == 24) return QuantiseWu256(image);
  FIBITMAP* trueColour = FreeImage_ConvertTo24Bits(image);
  if (trueColour == nullptr) return nullptr;
  FIBITMAP* quantised = QuantiseWu256(trueColour);
  FreeImage_Unload(trueColour);
  return quantised;
}

FIBITMAP* To4Bits(FIBITMAP* image, const OutputFormat&) {
  return ReduceFromAtMost32Bits(image, FreeImage_ConvertTo4Bits);
}

FIBITMAP* DitherFloydSteinberg(FIBITMAP* image) { return FreeImage_Dither(image, FID_FS); }

FIBITMAP* To1Bit(FIBITMAP* image, const OutputFormat&) { return ReduceFromAtMost32Bits(image, DitherFloydSteinberg); }

struct DepthConversion {
  int bitDepth;
  Conversion convert;
};

constexpr std::array<DepthConversion, 8> kDepthConversions = {{
    {96, ToRgbFloat},
    {48, ToRgb16},
    {32, To32Bits},
    {24, To24Bits},
    {16, To16Bits},
    {8, To8Bits},
    {4, To4Bits},
    {1, To1Bit},
}};

Conversion ConversionTo(int bitDepth) {
  for (const DepthConversion& row : kDepthConversions) {
    if (row.bitDepth == bitDepth) return row.convert;
  }
  return nullptr;
}

}  // namespace

FIBITMAP* ConvertToOutputDepth(FIBITMAP* image, const OutputFormat& format, int& outputBitDepth, bool automaticBitDepth,
                               int sourceBitDepth) {
  if (image == nullptr) return nullptr;
  if (automaticBitDepth) outputBitDepth = NearestAllowedBitDepth(format.identifier, sourceBitDepth);
  if (static_cast<int>(FreeImage_GetBPP(image)) == outputBitDepth) return image;
  const Conversion convert = ConversionTo(outputBitDepth);
  FIBITMAP* converted = convert == nullptr ? nullptr : convert(image, format);
  FreeImage_Unload(image);
  return converted;
}

}  // namespace lumivane
