#include "pipeline/convert_image_file.h"

#include <FreeImage.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <utility>

#include "batch/output_naming.h"
#include "pipeline/decode.h"
#include "pipeline/edit_steps.h"
#include "pipeline/encode_image.h"
#include "pipeline/icon_limit.h"
#include "pipeline/metadata_holder.h"
#include "pipeline/output_depth.h"
#include "pipeline/temporary_path.h"
#include "pipeline/tone_map.h"
#include "platform/file_write.h"

namespace lumivane {

namespace {

struct BitmapUnloader {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
// The one current image of a file: each step is handed it (release) and the result takes its place (reset).
using OwnedBitmap = std::unique_ptr<FIBITMAP, BitmapUnloader>;

constexpr std::int32_t kTextWatermark = 1;

bool Fail(FileConversion& file, ConversionFailure failure, const char* text) {
  file.failure = failure;
  file.failureText = text;
  return false;
}

DecodeOptions DecodeOptionsOf(const Settings& settings) {
  DecodeOptions options;
  options.rawLoadAs = settings.input.rawLoadAs;
  options.geometry = {settings.input.rawHeaderSize, settings.input.rawImageWidth, settings.input.rawImageHeight};
  return options;
}

// The decoded image with a size, or none (the reason is in file).
OwnedBitmap Decode(const Settings& settings, FileConversion& file) {
  if (::access(file.inputFile.c_str(), R_OK) != 0) {
    Fail(file, ConversionFailure::kUnreadable, "the input cannot be read");
    return nullptr;
  }
  OwnedBitmap image(DecodeInputImage(file.inputFile, DecodeOptionsOf(settings)));
  file.sourceBitDepth = image ? static_cast<std::int32_t>(FreeImage_GetBPP(image.get())) : 0;
  if (!image || FreeImage_GetWidth(image.get()) == 0 || FreeImage_GetHeight(image.get()) == 0) {
    Fail(file, ConversionFailure::kUndecodable, "no decoder yields an image");
    return nullptr;
  }
  return image;
}

struct Size {
  int width = 0;
  int height = 0;
};

Size SizeOf(FIBITMAP* image) {
  return {static_cast<int>(FreeImage_GetWidth(image)), static_cast<int>(FreeImage_GetHeight(image))};
}

// The edits from rotation to the watermark, in their fixed order. False (with the image gone) when a step yields no image.
bool Edit(const Settings& settings, const JobRecord& job, FileConversion& file, const DrawingFont* watermarkFont,
          OwnedBitmap& image) {
  image.reset(RotateImage(image.release(), settings));
  if (!image) return false;
  const Size rotated = SizeOf(image.get());
  image.reset(ResizeImage(image.release(), rotated.width, rotated.height, settings));
  if (!image) return false;
  Size working = SizeOf(image.get());
  image.reset(ToneMapImage(image.release(), settings.input.rawLoadAs, settings.input.rawToneMapping));
  if (!image) return false;
  const bool iconTooLarge = job.outputFormat == "ico" && (working.width > static_cast<int>(kIconMaxSide) ||
                                                          working.height > static_cast<int>(kIconMaxSide));
  image.reset(LimitIconSize(image.release(), job.outputFormat));
  if (!image) return false;
  if (iconTooLarge) working = {static_cast<int>(kIconMaxSide), static_cast<int>(kIconMaxSide)};
  image.reset(FlipImage(image.release(), settings));
  if (image) image.reset(AdjustImageColors(image.release(), settings));
  if (image) image.reset(GreyscaleImage(image.release(), settings));
  if (image) image.reset(ThresholdImage(image.release(), settings));
  if (image) image.reset(DitherImage(image.release(), settings));
  if (image) image.reset(DrawSolidFrame(image.release(), working.width, working.height, settings));
  if (!image) return false;
  // The watermark text and the output name read the working size; a frame does not change it.
  file.imageWidth = working.width;
  file.imageHeight = working.height;
  file.frameNumber = 1;
  WatermarkInputs watermark;
  if (settings.watermark.doWatermark == kTextWatermark) watermark.text = FillWatermarkText(settings, job, file);
  watermark.font = watermarkFont;
  image.reset(DrawWatermark(image.release(), working.width, working.height, settings, watermark));
  return image != nullptr;
}

EncodeRequest RequestFor(const Settings& settings, const JobRecord& job, const FileConversion& file) {
  EncodeRequest request;
  request.format = job.outputFormat;
  request.encoderTypeId = job.encoderTypeId;
  request.outputBitDepth = file.outputBitDepth;
  request.saveFlags = job.saveFlags;
  request.bmpColorTable = settings.output.bmpColorTable;
  request.bmpCompression = settings.output.bmpCompression;
  return request;
}

}  // namespace

bool ConvertImageContent(const Settings& settings, const JobRecord& job, FileConversion& file,
                         const DrawingFont* watermarkFont, std::vector<unsigned char>& encoded) {
  file.failure = ConversionFailure::kNone;
  file.failureText.clear();
  file.outputBitDepth = job.outputBitDepth;
  encoded.clear();
  OwnedBitmap image = Decode(settings, file);
  if (!image) return false;
  const OwnedBitmap metadataHolder(CreateMetadataHolder(image.get()));

  if (!Edit(settings, job, file, watermarkFont, image)) {
    return Fail(file, ConversionFailure::kEditFailed, "an edit step yields no image");
  }
  int outputBitDepth = file.outputBitDepth;
  image.reset(ConvertToOutputDepth(image.release(), job.outputFormat, outputBitDepth, job.automaticBitDepth != 0,
                                   file.sourceBitDepth));
  file.outputBitDepth = outputBitDepth;
  if (!image) return Fail(file, ConversionFailure::kEncodeFailed, "no conversion to the output bit depth");

  std::optional<std::vector<unsigned char>> bytes =
      EncodeImageFile(image.get(), metadataHolder.get(), RequestFor(settings, job, file));
  if (!bytes) return Fail(file, ConversionFailure::kEncodeFailed, "the encoder failed");
  encoded = std::move(*bytes);
  return true;
}

bool CommitImageFile(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                     FileConversion& file, std::span<const unsigned char> encoded) {
  file.outputFile = BuildOutputPath(settings, job, file);
  file.temporaryFile =
      TemporaryOutputPath(job.outputFolder, file.relativeSubfolder, settings.advanced.keepSubfolders != 0,
                          job.outputFormat);
  if (inputs.IsInput(file.outputFile)) {
    return Fail(file, ConversionFailure::kWouldReplaceInput, "the output would replace an input file");
  }
  if (!WriteFileViaTemporary(file.temporaryFile, file.outputFile, encoded)) {
    return Fail(file, ConversionFailure::kWriteFailed, "the output could not be written");
  }
  return true;
}

bool ConvertImageFile(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                      FileConversion& file, const DrawingFont* watermarkFont) {
  std::vector<unsigned char> encoded;
  return ConvertImageContent(settings, job, file, watermarkFont, encoded) &&
         CommitImageFile(settings, job, inputs, file, encoded);
}

}  // namespace lumivane
