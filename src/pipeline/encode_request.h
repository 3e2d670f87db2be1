#pragma once
// Everything an encoder needs to write one output file, gathered by the caller for that file.
#include <string>

namespace lumivane {

struct EncodeRequest {
  std::string format;          // output format identifier ("jpg", "psd", ...)
  int encoderTypeId = 0;       // FreeImage format number, or the DevIL image type for psd, dds and pcx
  int outputBitDepth = 0;      // bits per pixel the image was converted to
  int saveFlags = 0;           // the batch's encoder flags for this format, passed on unchanged
  int bmpColorTable = 0;       // `Output/BMP Color Table` code: 1 (EXACT) trims the palette of 8-bit bmp files
  int bmpCompression = 0;      // `Output/BMP Compression` code: 0 plain, 1 RLE8
  std::string outputPath;      // final name of the file
  std::string temporaryPath;   // new file in the same folder, written first and renamed onto outputPath
};

}  // namespace lumivane
