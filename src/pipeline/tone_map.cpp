#include "pipeline/tone_map.h"

#include "pipeline/decode.h"

namespace lumivane {

namespace {

using ToneMapOperator = FIBITMAP* (*)(FIBITMAP*);

struct ToneMappingRow {
  std::int32_t code;
  ToneMapOperator apply;  // nullptr: the image is left as it is
};

constexpr ToneMappingRow kToneMappingRows[] = {
    {kToneMappingNone, nullptr},
    {kToneMappingLinear, [](FIBITMAP* image) { return FreeImage_ConvertTo24Bits(image); }},
    {kToneMappingDrago, [](FIBITMAP* image) { return FreeImage_TmoDrago03(image, 2.2, 0.0); }},
    {kToneMappingReinhard, [](FIBITMAP* image) { return FreeImage_TmoReinhard05(image, 0.0, 0.0); }},
    {kToneMappingFattal, [](FIBITMAP* image) { return FreeImage_TmoFattal02(image, 0.5, 0.85); }},
};

ToneMapOperator FindOperator(std::int32_t toneMapping) {
  for (const auto& row : kToneMappingRows) {
    if (row.code == toneMapping) return row.apply;
  }
  return nullptr;
}

}  // namespace

FIBITMAP* ToneMapImage(FIBITMAP* image, std::int32_t rawLoadAs, std::int32_t toneMapping) {
  if (image == nullptr) return nullptr;
  if (rawLoadAs != kRawLoadAs48HalfSize && rawLoadAs != kRawLoadAs48) return image;
  const ToneMapOperator apply = FindOperator(toneMapping);
  if (apply == nullptr) return image;
  FIBITMAP* mapped = apply(image);
  FreeImage_Unload(image);
  return mapped;
}

}  // namespace lumivane
