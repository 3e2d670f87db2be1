#pragma once
// Everything an encoder needs to write one output file, gathered by the caller for that file.
#include <string>

#include "settings/setting_codes.h"

namespace lumivane {

struct EncodeRequest {
  std::string format;                            // output format identifier ("jpg", "psd", ...)
  int outputBitDepth = 0;                        // bits per pixel the image was converted to
  int saveFlags = 0;                             // the batch's encoder flags for this format, passed on unchanged
  ColorTable bmpColorTable = ColorTable::kAuto;  // EXACT trims the palette of 8-bit bmp files
  RleCompression bmpCompression = RleCompression::kNone;  // of those files
};

}  // namespace lumivane
