// The metadata step over a damaged input (seeds: small DNGs with camera tags; the fuzzer damages them) and a
// damaged sidecar, written into each container's file: it never throws or crashes, and the output stays a file of
// its format with the pixels untouched.
#include <FreeImage.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/registry.h"
#include "fuzz_support.h"
#include "pipeline/encode_image.h"
#include "pipeline/encoder_setup.h"
#include "pipeline/photo_metadata.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

// A small picture encoded once per container (FreeImage's JPEG 2000 encoder refuses very small ones).
constexpr int kWidth = 64;
constexpr int kHeight = 48;
const std::vector<unsigned char>& Encoded(const char* format) {
  static std::vector<std::vector<unsigned char>> files;
  static const char* kFormats[] = {"jpg", "png", "tiff", "webp", "jp2"};
  if (files.empty()) {
    InitialiseEncoders();
    FIBITMAP* image = FreeImage_Allocate(kWidth, kHeight, 24);
    for (const char* name : kFormats) {
      const EncodeRequest request{name, 24, 0, ColorTable::kAuto, RleCompression::kNone};
      files.push_back(EncodeImageFile(image, request).value_or(std::vector<unsigned char>{}));
    }
    FreeImage_Unload(image);
  }
  for (std::size_t i = 0; i < std::size(kFormats); ++i) {
    if (std::string(kFormats[i]) == format) return files[i];
  }
  return files.front();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const char* format = input.PickValueInArray({"jpg", "png", "tiff", "webp", "jp2"});
  const auto keeping = static_cast<MetadataKeeping>(input.ConsumeIntegralInRange(0, 2));
  const bool upright = input.ConsumeBool();
  const std::string sidecar = input.ConsumeBool() ? input.ConsumeRandomLengthString(512) : "";
  const std::string photo = input.ConsumeRemainingBytesAsString();
  const std::string path = fuzzing::WriteScratchFile("photo.dng", photo);
  std::filesystem::remove(fuzzing::ScratchFolder() / "photo.xmp");
  if (!sidecar.empty()) fuzzing::WriteScratchFile("photo.xmp", sidecar);

  const std::vector<unsigned char>& encoded = Encoded(format);
  Require(!encoded.empty(), "the picture encodes");
  std::vector<unsigned char> written = encoded;
  MetadataTarget target{FindOutputFormat(format)->metadata, keeping, kWidth, kHeight, upright, false, 72, 72};
  KeepPhotoMetadata(path, written, target);
  FIMEMORY* memory = FreeImage_OpenMemory(written.data(), static_cast<DWORD>(written.size()));
  FIBITMAP* back = FreeImage_LoadFromMemory(FreeImage_GetFileTypeFromMemory(memory), memory);
  Require(back != nullptr && FreeImage_GetWidth(back) == kWidth && FreeImage_GetHeight(back) == kHeight,
          "the output still decodes at its size");
  FreeImage_Unload(back);
  FreeImage_CloseMemory(memory);
  return 0;
}
