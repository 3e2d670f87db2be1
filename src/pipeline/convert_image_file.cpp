#include "pipeline/convert_image_file.h"

#include <FreeImage.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <optional>
#include <utility>

#include "formats/registry.h"
#include "pipeline/decode.h"
#include "pipeline/edit_steps.h"
#include "pipeline/encode_image.h"
#include "pipeline/format_step.h"
#include "pipeline/icon_limit.h"
#include "pipeline/output_depth.h"
#include "pipeline/photo_metadata.h"
#include "pipeline/tone_map.h"
#include "platform/owned_bitmap.h"
#include "settings/name_tokens.h"

namespace lumivane {

namespace {

constexpr const char* kNoMemory = "not enough memory for the file";

// Notes the failure in result and returns a copy (nothing is encoded yet).
ConvertedFile Fail(ConvertedFile& result, ConversionFailure failure, const char* detail) {
  result.failure = failure;
  result.detail = detail;
  return result;
}

DecodeOptions DecodeOptionsOf(const Settings& settings) {
  DecodeOptions options;
  options.rawLoadAs = settings.input.rawLoadAs;
  options.geometry = {settings.input.rawHeaderSize, settings.input.rawImageWidth, settings.input.rawImageHeight};
  options.transform = settings.transform;
  return options;
}

// The decoded image with a size, or none (the reason is in result). upright says whether the decoder turned it by
// the input's orientation.
OwnedBitmap Decode(const Settings& settings, const std::string& path, ConvertedFile& result, bool& upright) {
  if (::access(path.c_str(), R_OK) != 0) {
    Fail(result, ConversionFailure::kUnreadable, "the input cannot be read");
    return nullptr;
  }
  errno = 0;
  DecodeMethod used = DecodeMethod::kCameraRaw;
  DecodeResult decoded = DecodeInputImage(path, DecodeOptionsOf(settings), &used);
  OwnedBitmap image = std::move(decoded.image);
  upright = image == nullptr || DecodedUpright(used, settings.input.rawLoadAs, image.get());
  result.sourceBitDepth = image ? static_cast<std::int32_t>(FreeImage_GetBPP(image.get())) : 0;
  if (decoded.rawDataCut) {
    Fail(result, ConversionFailure::kDamaged, "the RAW data is incomplete");
    return nullptr;
  }
  if (!image && errno == ENOMEM) {
    // The decoders yield nothing when an allocation fails; the system's error tells that apart from a bad file.
    Fail(result, ConversionFailure::kOutOfMemory, kNoMemory);
    return nullptr;
  }
  if (!image || FreeImage_GetWidth(image.get()) == 0 || FreeImage_GetHeight(image.get()) == 0) {
    Fail(result, ConversionFailure::kUndecodable, "no decoder yields an image");
    return nullptr;
  }
  if (!decoded.decodeUsed.empty()) AddDetail(result, decoded.decodeUsed);
  return image;
}

struct Size {
  int width = 0;
  int height = 0;
};

Size SizeOf(FIBITMAP* image) {
  return {static_cast<int>(FreeImage_GetWidth(image)), static_cast<int>(FreeImage_GetHeight(image))};
}

// A watermark text is filled before the file's depth is fixed: its "%bpp%" is the depth written at the configured
// depth, or with automatic depth the one written for the file before.
std::string WatermarkText(const BatchPlan& plan, const FileToConvert& file, const ConvertedFile& result) {
  const OutputFormat& format = *FindOutputFormat(plan.outputFormat);
  const std::int32_t configured = BitDepthSettingValue(plan.settings, plan.outputFormat);
  const std::int32_t depth =
      configured != 0 ? WrittenBitDepth(plan.settings, format, configured) : file.numbering.previousOutputBitDepth;
  const TokenValues values{file.inputFile,
                           plan.outputFormat,
                           depth,
                           result.imageWidth,
                           result.imageHeight,
                           result.frameNumber,
                           file.numbering.randomNumber,
                           file.numbering.fileCounter,
                           std::nullopt};
  return FillWatermarkText(plan.settings.watermark.text, values);
}

// The edits from rotation to the watermark, in their fixed order. False (with the image gone) when a step yields no
// image.
bool Edit(const BatchPlan& plan, const OutputFormat& format, const FileToConvert& file,
          const DrawingFont* watermarkFont, OwnedBitmap& image, ConvertedFile& result) {
  const Settings& settings = plan.settings;
  image.reset(RotateImage(image.release(), settings));
  if (!image) return false;
  const Size rotated = SizeOf(image.get());
  image.reset(ResizeImage(image.release(), rotated.width, rotated.height, settings));
  if (!image) return false;
  Size working = SizeOf(image.get());
  image.reset(ToneMapImage(image.release(), settings.input.rawLoadAs, settings.input.rawToneMapping));
  if (!image) return false;
  const int largest = static_cast<int>(format.largestSide);
  const bool tooLarge = largest > 0 && (working.width > largest || working.height > largest);
  image.reset(LimitToLargestSide(image.release(), format));
  if (!image) return false;
  if (tooLarge) working = {largest, largest};
  image.reset(FlipImage(image.release(), settings));
  if (image) image.reset(AdjustImageColors(image.release(), settings));
  if (image) image.reset(GreyscaleImage(image.release(), settings));
  if (image) image.reset(ThresholdImage(image.release(), settings));
  if (image) image.reset(DitherImage(image.release(), settings));
  if (image) image.reset(DrawSolidFrame(image.release(), working.width, working.height, settings));
  if (!image) return false;
  // The watermark text and the output name read the working size; a frame does not change it.
  result.imageWidth = working.width;
  result.imageHeight = working.height;
  result.frameNumber = 1;
  WatermarkInputs watermark;
  if (settings.watermark.doWatermark == WatermarkKind::kText) watermark.text = WatermarkText(plan, file, result);
  watermark.font = watermarkFont;
  image.reset(DrawWatermark(image.release(), working.width, working.height, settings, watermark));
  return image != nullptr;
}

int DotsPerInch(unsigned dotsPerMetre) { return static_cast<int>((dotsPerMetre * 254 + 5000) / 10000); }

// The step that writes the photo's metadata into the encoded file, noting in the detail what it left out. A simple
// baseline JPEG stays bare, as that choice asks.
void KeepMetadata(const Settings& settings, const OutputFormat& format, const FileToConvert& file, FIBITMAP* image,
                  bool upright, ConvertedFile& result) {
  if (format.metadata == MetadataContainer::kJpeg && settings.output.jpgSaveAs == JpegSaveAs::kSimple) return;
  FIICCPROFILE* profile = FreeImage_GetICCProfile(image);
  const MetadataTarget target{format.metadata,
                              settings.advanced.metadata,
                              static_cast<int>(FreeImage_GetWidth(image)),
                              static_cast<int>(FreeImage_GetHeight(image)),
                              upright,
                              profile != nullptr && profile->size > 0,
                              DotsPerInch(FreeImage_GetDotsPerMeterX(image)),
                              DotsPerInch(FreeImage_GetDotsPerMeterY(image))};
  const std::string note = KeepPhotoMetadata(file.inputFile, result.encoded, target);
  if (!note.empty()) AddDetail(result, note);
}

// ConvertImageContent, which may meet an allocation that fails.
ConvertedFile ConvertContent(const BatchPlan& plan, const FileToConvert& file, const DrawingFont* watermarkFont,
                             ConvertedFile& result) {
  const Settings& settings = plan.settings;
  const std::int32_t configuredDepth = BitDepthSettingValue(settings, plan.outputFormat);
  result.outputBitDepth = configuredDepth;
  const OutputFormat* format = FindOutputFormat(plan.outputFormat);
  if (format == nullptr) return Fail(result, ConversionFailure::kEncodeFailed, "the output format is unknown");
  bool upright = true;
  OwnedBitmap image = Decode(settings, file.inputFile, result, upright);
  if (!image) return result;

  if (!Edit(plan, *format, file, watermarkFont, image, result)) {
    return Fail(result, ConversionFailure::kEditFailed, "an edit step yields no image");
  }
  int outputBitDepth = configuredDepth;
  image.reset(
      ConvertToOutputDepth(image.release(), *format, outputBitDepth, configuredDepth == 0, result.sourceBitDepth));
  result.outputBitDepth = outputBitDepth;
  if (!image) return Fail(result, ConversionFailure::kEncodeFailed, "no conversion to the output bit depth");
  FormatStepResult step;
  image.reset(ApplyFormatStep(image.release(), *format, settings, outputBitDepth, step));
  result.outputBitDepth = step.writtenBitDepth;
  if (!step.note.empty()) AddDetail(result, step.note);
  if (!image) return Fail(result, ConversionFailure::kEncodeFailed, "the output format's step failed");

  const EncodeRequest request{plan.outputFormat, step.writtenBitDepth, step.saveFlags, settings.output.bmpColorTable,
                              settings.output.bmpCompression};
  std::optional<std::vector<unsigned char>> bytes = EncodeImageFile(image.get(), request);
  if (!bytes) return Fail(result, ConversionFailure::kEncodeFailed, "the encoder failed");
  result.encoded = std::move(*bytes);
  KeepMetadata(settings, *format, file, image.get(), upright, result);
  return result;
}

}  // namespace

ConvertedFile ConvertImageContent(const BatchPlan& plan, const FileToConvert& file, const DrawingFont* watermarkFont) {
  ConvertedFile result;
  try {
    return ConvertContent(plan, file, watermarkFont, result);
  } catch (const std::bad_alloc&) {
    result.encoded.clear();
    return Fail(result, ConversionFailure::kOutOfMemory, kNoMemory);
  }
}

}  // namespace lumivane
