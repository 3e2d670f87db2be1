#include "batch/output_naming.h"

#include <optional>
#include <string_view>

#include "batch/temporary_path.h"
#include "formats/registry.h"
#include "platform/file_write.h"

namespace lumivane {

TokenValues OutputNameValues(const BatchPlan& plan, const FileToConvert& file, const ConvertedFile& converted,
                             const FileNumbering& numbering) {
  return TokenValues{file.inputFile,         plan.outputFormat,     converted.outputBitDepth,
                     converted.imageWidth,   converted.imageHeight, converted.frameNumber,
                     numbering.randomNumber, numbering.fileCounter, std::nullopt};
}

namespace {

std::string PathOf(const BatchPlan& plan, const FileToConvert& file, const TokenValues& values) {
  std::string path = plan.outputFolder;
  if (plan.settings.advanced.keepSubfolders != 0) path += file.relativeSubfolder;
  return path + ExpandFilenameMask(plan.settings.advanced.filenameMask, values);
}

}  // namespace

std::string BuildOutputPath(const BatchPlan& plan, const FileToConvert& file, const ConvertedFile& converted,
                            const FileNumbering& numbering) {
  return PathOf(plan, file, OutputNameValues(plan, file, converted, numbering));
}

std::string OutputPathBeforeDecoding(const BatchPlan& plan, const FileToConvert& file) {
  ConvertedFile undecoded;
  undecoded.outputBitDepth = BitDepthSettingValue(plan.settings, plan.outputFormat);
  TokenValues values = OutputNameValues(plan, file, undecoded, file.numbering);
  values.pictureKnown = false;
  return PathOf(plan, file, values);
}

bool LeadsOutOfFolder(std::string_view relativePath) {
  std::size_t depth = 0;
  for (std::size_t start = 0; start <= relativePath.size();) {
    std::size_t end = relativePath.find('/', start);
    if (end == std::string_view::npos) end = relativePath.size();
    const std::string_view part = relativePath.substr(start, end - start);
    if (part == "..") {
      if (depth == 0) return true;
      --depth;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return false;
}

std::string CommitConvertedFile(const BatchPlan& plan, const ProtectedInputs& inputs, const FileToConvert& file,
                                const FileNumbering& numbering, ConvertedFile& converted) {
  const std::string output = BuildOutputPath(plan, file, converted, numbering);
  const std::string temporary = TemporaryOutputPath(plan.outputFolder, file.relativeSubfolder,
                                                    plan.settings.advanced.keepSubfolders != 0, plan.outputFormat);
  if (LeadsOutOfFolder(std::string_view(output).substr(plan.outputFolder.size()))) {
    converted.failure = ConversionFailure::kOutsideOutputFolder;
    converted.detail = "the output path leads out of the output folder";
  } else if (inputs.IsInput(output)) {
    converted.failure = ConversionFailure::kWouldReplaceInput;
    converted.detail = "the output would replace an input file";
  } else if (!WriteFileViaTemporary(temporary, output, converted.encoded)) {
    converted.failure = ConversionFailure::kWriteFailed;
    converted.detail = "the output could not be written";
  }
  return output;
}

}  // namespace lumivane
