#include "batch/run_batch.h"

#include <optional>
#include <string>
#include <string_view>

#include "batch/batch_state.h"
#include "batch/bit_depth_settings.h"
#include "batch/collect_inputs.h"
#include "batch/convert_all.h"
#include "batch/debug_listing.h"
#include "batch/validate_job.h"
#include "batch/worker_thread.h"
#include "cli/message_template.h"
#include "cli/string_table.h"
#include "formats/registry.h"
#include "pipeline/save_flags.h"
#include "platform/console.h"
#include "settings/settings.h"

namespace lumivane {

namespace {

void PrintString(const char* group, const char* key) { PrintLine(LookupString(group, key)); }

// The input, the output folder and the conversion type, with the debug lines between them. The error line of
// the first failure, if any.
std::optional<std::string_view> CheckJob(JobRecord& job, bool debug) {
  if (debug) PrintLine("Input: " + job.inputFolder);
  if (auto error = ClassifyInput(job)) return error;
  DeriveOutputFolder(job);
  if (debug) PrintLine("Output: " + job.outputFolder);
  if (auto error = CheckOutputFolder(job)) return error;
  DefaultFormats(job);
  if (debug) PrintLine("Conversion: " + job.outputFormat);
  return CheckConversionType(job);
}

// The encoder values that stay the same for every file of the batch.
void PrepareEncoderValues(const Settings& settings, JobRecord& job) {
  const std::optional<OutputFormat> format = FindOutputFormat(job.outputFormat);
  job.encoderTypeId = format ? format->encoderTypeId : 0;
  job.outputBitDepth = BitDepthSettingValue(settings, job.outputFormat);
  job.saveFlags = ComputeSaveFlags(settings, job.outputFormat);
  job.automaticBitDepth = job.outputBitDepth == 0 ? 1 : 0;
  job.previousOutputBitDepth = 0;
}

// Collection phase; returns the number of files added.
std::int32_t Collect(bool quiet) {
  if (!quiet) PrintString("General", "Importing");
  gCollectedFiles.Clear();
  gProgress.Reset();
  const std::int32_t added = CollectInputs(gJob, gProgress, gCollectedFiles);
  if (!quiet) PrintLine(FillTemplate(LookupString("Msg", "Import complete"), std::to_string(added)));
  return added;
}

// Conversion phase on its worker thread; returns the number of files converted.
std::int32_t Convert(bool quiet, const DrawingFont* watermarkFont) {
  if (!quiet) PrintString("General", "Converting");
  gProgress.Reset();
  RunOnWorkerThread([watermarkFont] { ConvertAll(gSettings, gJob, gProgress, gCollectedFiles, watermarkFont); });
  return gProgress.Snapshot().count;
}

}  // namespace

BatchOutcome RunBatch(bool quiet) {
  const bool debug = IsDebugMode(gJob);
  if (!quiet) PrintString("General", "Preparing");
  if (const std::optional<std::string_view> error = CheckJob(gJob, debug)) {
    PrintLine(std::string(*error));
    return BatchOutcome::kInvalidSettings;
  }
  // The watermark font made here lives until the batch returns.
  const SettingsReview review = ReviewSettings(gSettings, gJob, debug);
  for (const std::string& line : review.lines) PrintLine(line);
  if (!review.error.empty()) {
    PrintLine(review.error);
    return BatchOutcome::kInvalidSettings;
  }
  PrepareEncoderValues(gSettings, gJob);

  const std::int32_t added = Collect(quiet);
  if (added == 0) {
    PrintString("Msg", "Conversion is not complete");
    PrintString("Msg", "Empty input files");
    return BatchOutcome::kNothingCollected;
  }
  const DrawingFont* font = review.watermarkFont.IsFont() ? &review.watermarkFont : nullptr;
  const std::int32_t converted = Convert(quiet, font);
  if (converted == 0) {
    PrintString("Msg", "Conversion is not complete");
    return BatchOutcome::kSomeFailed;
  }
  if (!quiet) {
    PrintString("Msg", "Conversion complete");
    PrintLine(FillTemplate(LookupString("Msg", "Files converted"), std::to_string(converted), std::to_string(added)));
  }
  return converted == added ? BatchOutcome::kAllConverted : BatchOutcome::kSomeFailed;
}

}  // namespace lumivane
