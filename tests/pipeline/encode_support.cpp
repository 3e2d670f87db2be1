#include "pipeline/encode_support.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include <IL/il.h>

#include "batch/temporary_path.h"
#include "formats/registry.h"
#include "pipeline/encode_image.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/jxr_reader.h"
#include "platform/file_write.h"

namespace lumivane::testing {

FIBITMAP* MakeQuadrantImage(unsigned width, unsigned height) {
  FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24);
  for (unsigned y = 0; y < height; ++y) {
    // FreeImage's scan line 0 is the bottom row.
    const bool top = y >= height / 2;
    BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x) {
      const Quadrant& quadrant = kQuadrants[(top ? 0 : 2) + (x >= width / 2 ? 1 : 0)];
      row[3 * x + FI_RGBA_RED] = static_cast<BYTE>(quadrant.rgb[0]);
      row[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(quadrant.rgb[1]);
      row[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(quadrant.rgb[2]);
    }
  }
  return image;
}

FIBITMAP* MakeNoiseImage(unsigned width, unsigned height, unsigned seed) {
  FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24);
  unsigned state = seed;
  for (unsigned y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < width * 3; ++x) {
      state = state * 1103515245u + 12345u;
      row[x] = static_cast<BYTE>(state >> 16);
    }
  }
  return image;
}

const OutputFormat& FormatRow(std::string_view identifier) {
  const OutputFormat* row = FindOutputFormat(identifier);
  if (row == nullptr) throw std::invalid_argument("not an output format: " + std::string(identifier));
  return *row;
}

EncodeRequest RequestFor(const std::string& format, int outputBitDepth, int saveFlags) {
  EncodeRequest request;
  request.format = format;
  request.outputBitDepth = outputBitDepth;
  request.saveFlags = saveFlags;
  return request;
}

std::string OutputPathIn(const std::string& folder, const std::string& format) { return folder + "out." + format; }

std::string EncodeToFile(FIBITMAP* image, const EncodeRequest& request,
                         const std::string& folder) {
  const std::optional<std::vector<unsigned char>> bytes = EncodeImageFile(image, request);
  if (!bytes) return "";
  const std::string path = OutputPathIn(folder, request.format);
  if (!WriteFileViaTemporary(TemporaryOutputPath(folder, "", false, request.format), path, *bytes)) return "";
  return path;
}

void SetAlpha(FIBITMAP* image, BYTE alpha) {
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x) row[4 * x + FI_RGBA_ALPHA] = alpha;
  }
}

int GreyOf(const std::array<int, 3>& rgb) {
  return static_cast<int>(0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2] + 0.5);
}

namespace {

void FillFromFloatRgb(DecodedImage& decoded, FIBITMAP* image) {
  for (unsigned y = 0; y < decoded.height; ++y) {
    const auto* row = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(image, static_cast<int>(decoded.height - 1 - y)));
    for (unsigned x = 0; x < decoded.width; ++x) {
      unsigned char* out = &decoded.rgb[(static_cast<std::size_t>(y) * decoded.width + x) * 3];
      out[0] = ScaledToByte(row[x].red);
      out[1] = ScaledToByte(row[x].green);
      out[2] = ScaledToByte(row[x].blue);
    }
  }
}

void FillFromStandard(DecodedImage& decoded, FIBITMAP* image) {
  std::unique_ptr<FIBITMAP, BitmapDeleter> trueColour(FreeImage_ConvertTo24Bits(image));
  if (trueColour == nullptr) {
    decoded.ok = false;
    return;
  }
  for (unsigned y = 0; y < decoded.height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(trueColour.get(), static_cast<int>(decoded.height - 1 - y));
    for (unsigned x = 0; x < decoded.width; ++x) {
      unsigned char* out = &decoded.rgb[(static_cast<std::size_t>(y) * decoded.width + x) * 3];
      out[0] = row[3 * x + FI_RGBA_RED];
      out[1] = row[3 * x + FI_RGBA_GREEN];
      out[2] = row[3 * x + FI_RGBA_BLUE];
    }
  }
}

}  // namespace

DecodedImage ReadWithFreeImage(const std::string& path, int freeImageFormat) {
  DecodedImage decoded;
  std::unique_ptr<FIBITMAP, BitmapDeleter> image(
      FreeImage_Load(static_cast<FREE_IMAGE_FORMAT>(freeImageFormat), path.c_str(), 0));
  if (image == nullptr) return decoded;
  // FreeImage reads PFM rows top-down; the format stores them bottom-up, as our files do.
  if (freeImageFormat == FIF_PFM) FreeImage_FlipVertical(image.get());
  decoded.ok = true;
  decoded.width = FreeImage_GetWidth(image.get());
  decoded.height = FreeImage_GetHeight(image.get());
  decoded.bitsPerPixel = static_cast<int>(FreeImage_GetBPP(image.get()));
  decoded.rgb.assign(static_cast<std::size_t>(decoded.width) * decoded.height * 3, 0);
  if (FreeImage_GetImageType(image.get()) == FIT_RGBF) {
    FillFromFloatRgb(decoded, image.get());
  } else {
    FillFromStandard(decoded, image.get());
  }
  return decoded;
}

DecodedImage ReadWithDevil(const std::string& path) {
  InitialiseEncoders();
  DecodedImage decoded;
  ILuint id = 0;
  ilGenImages(1, &id);
  ilBindImage(id);
  if (ilLoadImage(path.c_str()) != IL_FALSE) {
    decoded.ok = true;
    decoded.width = static_cast<unsigned>(ilGetInteger(IL_IMAGE_WIDTH));
    decoded.height = static_cast<unsigned>(ilGetInteger(IL_IMAGE_HEIGHT));
    decoded.bitsPerPixel = ilGetInteger(IL_IMAGE_BITS_PER_PIXEL);
    decoded.mipmaps = ilGetInteger(IL_NUM_MIPMAPS);
    const bool bottomUp = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
    decoded.ok = ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) != IL_FALSE;
    const std::size_t rowLength = static_cast<std::size_t>(decoded.width) * 3;
    decoded.rgb.assign(rowLength * decoded.height, 0);
    const ILubyte* data = ilGetData();
    for (unsigned y = 0; decoded.ok && y < decoded.height; ++y) {
      const unsigned sourceRow = bottomUp ? decoded.height - 1 - y : y;
      std::memcpy(&decoded.rgb[rowLength * y], data + rowLength * sourceRow, rowLength);
    }
  }
  ilDeleteImages(1, &id);
  while (ilGetError() != IL_NO_ERROR) continue;
  return decoded;
}

DecodedImage ReadOutput(const std::string& path, const std::string& format) {
  if (format == "psd" || format == "dds" || format == "pcx") return ReadWithDevil(path);
  if (format == "jxr") return ReadJpegXr(path);
  const OutputFormat* row = FindOutputFormat(format);
  return row != nullptr ? ReadWithFreeImage(path, row->encoderTypeId) : DecodedImage{};
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace lumivane::testing
