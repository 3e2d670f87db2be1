#include "batch/isolated_conversion.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "batch/content_result.h"
#include "pipeline/convert_image_file.h"

namespace lumivane {
namespace {

bool Fail(FileConversion& file, ConversionFailure failure, const char* text) {
  file.failure = failure;
  file.failureText = text;
  return false;
}

std::optional<long long> PositiveNumber(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*end != '\0' || value <= 0) return std::nullopt;
  return value;
}

}  // namespace

IsolationOptions IsolationOptionsFromEnvironment() {
  IsolationOptions options;
  const char* inProcess = std::getenv(kInProcessVariable);
  options.inProcess = inProcess != nullptr && std::string(inProcess) == "1";
  if (const std::optional<long long> limit = PositiveNumber(std::getenv(kTimeLimitVariable))) {
    if (*limit < options.timeLimit.count()) options.timeLimit = std::chrono::milliseconds(*limit);
  }
  return options;
}

PendingContent StartImageContent(const Settings& settings, const JobRecord& job, const FileConversion& file,
                                 const DrawingFont* watermarkFont, std::chrono::milliseconds timeLimit) {
  // The child works on its own copy of everything; only the packed result comes back.
  return StartChildWork(
      [&settings, &job, &file, watermarkFont] {
        FileConversion copy = file;
        std::vector<unsigned char> encoded;
        const bool ok = ConvertImageContent(settings, job, copy, watermarkFont, encoded);
        return PackContentResult(ok, copy, encoded);
      },
      timeLimit);
}

bool CollectImageContent(ChildWork& pending, FileConversion& file, std::vector<unsigned char>& encoded) {
  encoded.clear();
  const ChildResult result = CollectChildWork(pending);
  if (result.outcome == ChildOutcome::kTimedOut) {
    return Fail(file, ConversionFailure::kWorkerTimedOut, "worker timed out");
  }
  std::optional<bool> ok;
  if (result.outcome == ChildOutcome::kCompleted) ok = UnpackContentResult(result.bytes, file, encoded);
  if (!ok) return Fail(file, ConversionFailure::kWorkerCrashed, "worker crashed");
  return *ok;
}

bool ConvertImageFileIsolated(const Settings& settings, const JobRecord& job, const ProtectedInputs& inputs,
                              FileConversion& file, const DrawingFont* watermarkFont, const IsolationOptions& options) {
  if (options.inProcess) return ConvertImageFile(settings, job, inputs, file, watermarkFont);
  const PendingContent pending = StartImageContent(settings, job, file, watermarkFont, options.timeLimit);
  // No in-process fallback: LibRaw's OpenMP threads, once started in this process, are missing in every later
  // child, whose decoding then waits for them for ever.
  if (!pending) return Fail(file, ConversionFailure::kWorkerCrashed, "worker could not be started");
  std::vector<unsigned char> encoded;
  return CollectImageContent(*pending, file, encoded) && CommitImageFile(settings, job, inputs, file, encoded);
}

}  // namespace lumivane
