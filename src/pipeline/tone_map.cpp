#include "pipeline/tone_map.h"

#include "pipeline/code_table.h"

namespace lumivane {

namespace {

using ToneMapOperator = FIBITMAP* (*)(FIBITMAP*);

// nullptr: the image is left as it is (48-bit).
constexpr CodeRow<ToneMapping, ToneMapOperator> kToneMappingRows[] = {
    {ToneMapping::kNone, nullptr},
    {ToneMapping::kLinear, [](FIBITMAP* image) { return FreeImage_ConvertTo24Bits(image); }},
    {ToneMapping::kDrago, [](FIBITMAP* image) { return FreeImage_TmoDrago03(image, 2.2, 0.0); }},
    {ToneMapping::kReinhard, [](FIBITMAP* image) { return FreeImage_TmoReinhard05(image, 0.0, 0.0); }},
    {ToneMapping::kFattal, [](FIBITMAP* image) { return FreeImage_TmoFattal02(image, 0.5, 0.85); }},
};

}  // namespace

FIBITMAP* ToneMapImage(FIBITMAP* image, RawLoadAs rawLoadAs, ToneMapping toneMapping) {
  if (image == nullptr) return nullptr;
  if (rawLoadAs != RawLoadAs::k48HalfSize && rawLoadAs != RawLoadAs::k48) return image;
  const ToneMapOperator apply = ValueForCode(kToneMappingRows, toneMapping, ToneMapOperator{nullptr});
  if (apply == nullptr) return image;
  FIBITMAP* mapped = apply(image);
  FreeImage_Unload(image);
  return mapped;
}

}  // namespace lumivane
