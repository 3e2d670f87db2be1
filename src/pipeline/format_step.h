#pragma once
// The step an output format takes between the output depth and its encoder, chosen by its route. TIFF's separates
// the picture into CMYK and settles the compression (formats/tiff_rules.h); the other formats take none.
#include <FreeImage.h>

#include <cstdint>
#include <string>

#include "formats/registry.h"
#include "settings/settings.h"

namespace lumivane {

// What the step settled: the depth the file is written with, the encoder's flags, and what the file's report line
// says where the file differs from what was asked ("" when it does not).
struct FormatStepResult {
  std::int32_t writtenBitDepth = 0;
  std::int32_t saveFlags = 0;
  std::string note;
};

// Takes ownership of the image, brought to outputBitDepth, and returns the one to encode: the same, or a new one
// after unloading it; nullptr (with the image unloaded) when the step fails. Without a step the result is the
// depth and the format's flags as asked.
FIBITMAP* ApplyFormatStep(FIBITMAP* image, const OutputFormat& format, const Settings& settings,
                          std::int32_t outputBitDepth, FormatStepResult& result);

}  // namespace lumivane
