#include "batch/run_batch.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "batch/batch_state.h"
#include "batch/bit_depth_settings.h"
#include "batch/collect_inputs.h"
#include "batch/convert_all.h"
#include "batch/debug_listing.h"
#include "batch/parallel_plan.h"
#include "batch/paths.h"
#include "batch/report.h"
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

// The debug listing's "Jobs: " line, after "Keep Subfolders: ". The depth is automatic when the output format's
// bit-depth setting is 0 (the job's own flag is set only after the listing).
std::string JobsLine(const Settings& settings, const JobRecord& job) {
  const bool automaticDepth = BitDepthSettingValue(settings, job.outputFormat) == 0;
  return JobsListingLine(ResolveJobCount(job.runOptions.jobs), OneFileAtATimeReason(settings, automaticDepth));
}

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

// A report may not take the place of a file the batch reads: a camera file, or the input file itself.
bool IsUsableReportPath(const JobRecord& job, const std::string& path) {
  const std::optional<std::string_view> extension = ExtensionOf(path);
  if (extension && IsAcceptedExtension(*extension)) return false;
  return job.inputFile.empty() || !IsSameFile(job.inputFile, path);
}

// Conversion phase on its worker thread; returns the number of files converted.
std::int32_t Convert(bool quiet, const DrawingFont* watermarkFont, ReportWriter* report) {
  if (!quiet) PrintString("General", "Converting");
  gProgress.Reset();
  RunOnWorkerThread([watermarkFont, report] {
    ConvertAll(gSettings, gJob, gProgress, gCollectedFiles, watermarkFont, report);
  });
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
  const RunOptions& run = gJob.runOptions;
  if (debug && run.jobsGiven) PrintLine(JobsLine(gSettings, gJob));
  ReportWriter report;
  if (!run.reportFile.empty() && (!IsUsableReportPath(gJob, run.reportFile) || !report.Open(run.reportFile))) {
    PrintLine("Error: Invalid report file");
    return BatchOutcome::kInvalidSettings;
  }
  ReportWriter* reportOrNone = report.IsOpen() ? &report : nullptr;
  PrepareEncoderValues(gSettings, gJob);

  const std::int32_t added = Collect(quiet);
  if (added == 0) {
    if (reportOrNone != nullptr) report.WriteLine(SummaryReportLine({}));
    PrintString("Msg", "Conversion is not complete");
    PrintString("Msg", "Empty input files");
    return BatchOutcome::kNothingCollected;
  }
  const DrawingFont* font = review.watermarkFont.IsFont() ? &review.watermarkFont : nullptr;
  const std::int32_t converted = Convert(quiet, font, reportOrNone);
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
