#include "pipeline/format_step.h"

#include <string_view>

#include "formats/tiff_rules.h"
#include "pipeline/cmyk_separation.h"
#include "pipeline/replace_image.h"

namespace lumivane {
namespace {

// The keyword as an option value spells it ("CCITTFAX3").
std::string_view KeywordOf(TiffCompression compression) {
  for (const Keyword& keyword : KeywordsOf(compression)) {
    if (keyword.code == CodeOf(compression)) return keyword.keyword;
  }
  return "?";
}

std::string Bits(std::int32_t bitDepth) { return std::to_string(bitDepth) + (bitDepth == 1 ? " bit" : " bits"); }

void AddNote(FormatStepResult& result, const std::string& note) {
  result.note += (result.note.empty() ? "" : "; ") + note;
}

// CMYK where the depth allows it, else the picture as it is; then the compression the written depth allows.
FIBITMAP* ApplyTiffStep(FIBITMAP* image, const Settings::Output& output, std::int32_t bitDepth,
                        FormatStepResult& result) {
  const bool cmyk = output.tiffColorMode == ColorMode::kCmyk && TiffCmykBitDepth(bitDepth) != 0;
  if (output.tiffColorMode == ColorMode::kCmyk && !cmyk) AddNote(result, "CMYK does not apply at " + Bits(bitDepth));
  if (cmyk) {
    image = ReplaceImage(image, SeparateCmyk(image));
    if (image == nullptr) return nullptr;
  }
  result.writtenBitDepth = TiffWrittenBitDepth(cmyk ? ColorMode::kCmyk : ColorMode::kRgb, bitDepth);
  const bool greyLevels = FreeImage_GetBPP(image) == 8 && FreeImage_GetColorType(image) == FIC_MINISBLACK;
  const TiffCompression compression =
      TiffCompressionWritten(output.tiffCompression, result.writtenBitDepth, greyLevels);
  if (compression != output.tiffCompression) {
    AddNote(result, std::string(KeywordOf(output.tiffCompression)) + " compression does not apply at " +
                        Bits(result.writtenBitDepth) + ": written with " + std::string(KeywordOf(compression)));
  }
  result.saveFlags = TiffSaveFlags(compression, cmyk ? ColorMode::kCmyk : ColorMode::kRgb);
  return image;
}

}  // namespace

FIBITMAP* ApplyFormatStep(FIBITMAP* image, const OutputFormat& format, const Settings& settings,
                          std::int32_t outputBitDepth, FormatStepResult& result) {
  result = {outputBitDepth, SaveFlagsOf(settings, format.identifier), {}};
  if (image == nullptr || format.route != EncoderRoute::kFreeImageTiff) return image;
  return ApplyTiffStep(image, settings.output, outputBitDepth, result);
}

}  // namespace lumivane
