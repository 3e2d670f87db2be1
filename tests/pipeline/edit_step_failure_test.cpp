#include <gtest/gtest.h>

#include <functional>

#include "pipeline/edit_steps.h"
#include "settings/setting_codes.h"

namespace lumivane::testing {
namespace {

// Every step that converts an image before its main call, switched on.
Settings EverythingOn() {
  Settings settings;
  settings.transform.doImageRotation = 1;
  settings.transform.imageRotation = 30;
  settings.adjustment.doImageColorCorrection = 1;
  settings.adjustment.imageBrightness = 20;
  settings.adjustment.imageGamma = 1.0F;
  settings.adjustment.doImageGreyscale = 1;
  settings.adjustment.doImageThreshold = 1;
  settings.adjustment.imageThreshold = 100;
  settings.adjustment.doImageDither = 1;
  return settings;
}

// A complex-valued bitmap is one that FreeImage cannot convert to 24 bits: a step that needs
// that yields no image, and the bitmap it was given is released (the leak checker of the sanitizer build sees it).
TEST(EditSteps, AStepWhoseLibraryCallYieldsNothingReturnsNoImage) {
  const Settings settings = EverythingOn();
  const struct {
    const char* name;
    std::function<FIBITMAP*(FIBITMAP*)> step;
  } steps[] = {
      {"rotate", [&](FIBITMAP* image) { return RotateImage(image, settings); }},
      {"rotate about the centre",
       [&](FIBITMAP* image) {
         Settings advanced = settings;
         advanced.transform.imageRotationType = RotationType::kAdvanced;
         return RotateImage(image, advanced);
       }},
      {"colour correction", [&](FIBITMAP* image) { return AdjustImageColors(image, settings); }},
      {"greyscale", [&](FIBITMAP* image) { return GreyscaleImage(image, settings); }},
      {"threshold", [&](FIBITMAP* image) { return ThresholdImage(image, settings); }},
      {"dither", [&](FIBITMAP* image) { return DitherImage(image, settings); }},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    FIBITMAP* image = FreeImage_AllocateT(FIT_COMPLEX, 20, 10);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(s.step(image), nullptr);
  }
}

}  // namespace
}  // namespace lumivane::testing
