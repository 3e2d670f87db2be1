#include "batch/run_batch.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "batch/batch_state.h"
#include "batch/collect_inputs.h"
#include "batch/convert_all.h"
#include "batch/debug_listing.h"
#include "batch/dry_run.h"
#include "batch/file_selection.h"
#include "batch/protected_inputs.h"
#include "batch/report.h"
#include "batch/run_options_review.h"
#include "batch/validate_job.h"
#include "batch/worker_thread.h"
#include "formats/registry.h"
#include "platform/console.h"
#include "platform/paths.h"
#include "platform/stop_signals.h"
#include "settings/message_template.h"
#include "settings/messages.h"
#include "settings/settings.h"
#include "settings/string_table.h"

namespace lumivane {

namespace {

void PrintString(const char* group, const char* key) { PrintLine(LookupString(group, key)); }

void PrintLabelled(Message label, const std::string& value) { PrintLine(std::string(MessageText(label)) + value); }

// The input, the output folder and the conversion type, with the debug lines between them. The message of the
// first failure, if any.
std::optional<Message> CheckJob(JobRecord& job, bool debug) {
  if (debug) PrintLabelled(Message::kInputLine, job.inputFolder);
  if (auto error = ClassifyInput(job)) return error;
  DeriveOutputFolder(job);
  if (debug) PrintLabelled(Message::kOutputLine, job.outputFolder);
  if (auto error = CheckOutputFolder(job)) return error;
  DefaultFormats(job);
  if (debug) PrintLabelled(Message::kConversionLine, job.outputFormat);
  return CheckConversionType(job);
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

// Once the inputs are known: the open report is none of them, nor the input or list file, through whatever name
// or link it was given. Only then is it emptied.
bool StartReport(ReportWriter& report, const JobRecord& job, const CollectedFileList& files) {
  ProtectedInputs inputs(files);
  if (!job.inputFile.empty()) inputs.Add(job.inputFile);
  dev_t device{};
  ino_t inode{};
  return report.Identity(device, inode) && !inputs.IsInput(device, inode) && report.Empty();
}

// Conversion phase (or the dry run) on its worker thread.
PassCounts Convert(const BatchPlan& plan, const std::vector<SelectedFile>& selected, bool quiet,
                   const DrawingFont* watermarkFont, ReportWriter* report) {
  if (!quiet) PrintString("General", "Converting");
  gProgress.Reset();
  PassCounts counts;
  RunOnWorkerThread([&] {
    const RunOptions& run = gJob.runOptions;
    counts = run.dryRun
                 ? DryRunAll(plan, selected, report)
                 : ConvertAll(plan, run, IsVerbose(gJob), gProgress, gCollectedFiles, selected, watermarkFont, report);
  });
  return counts;
}

// The closing lines. Skipped files are no failures: a batch whose every file was converted or skipped went well,
// and one that converted or skipped none stopped.
BatchResult Conclude(const PassCounts& counts, bool skipExisting, bool quiet) {
  if (counts.files > 0 && counts.converted + counts.skipped == 0) {
    PrintString("Msg", "Conversion is not complete");
    return {BatchOutcome::kSomeFailed, {}};
  }
  if (!quiet) {
    PrintString("Msg", "Conversion complete");
    PrintLine(FillTemplate(LookupString("Msg", "Files converted"), std::to_string(counts.converted),
                           std::to_string(counts.files)));
    if (skipExisting) {
      PrintLine(FillTemplate(std::string(MessageText(Message::kFilesSkipped)), std::to_string(counts.skipped)));
    }
  }
  const bool allDone = counts.converted + counts.skipped == counts.files;
  return {allDone ? BatchOutcome::kAllConverted : BatchOutcome::kSomeFailed, {}};
}

BatchResult Refused(std::string_view message) { return {BatchOutcome::kInvalidSettings, std::string(message)}; }

}  // namespace

BatchResult RunBatch(bool quiet) {
  const bool debug = IsDebugMode(gJob);
  if (!quiet) PrintString("General", "Preparing");
  if (const std::optional<Message> error = CheckJob(gJob, debug)) return Refused(MessageText(*error));
  // The watermark font made here lives until the batch returns.
  const SettingsReview review = ReviewSettings(gSettings, gJob.inputFormat, gJob.outputFormat, debug);
  for (const std::string& line : review.lines) PrintLine(line);
  if (!review.error.empty()) return Refused(review.error);
  const RunOptions& run = gJob.runOptions;
  const RunOptionsReview runReview = ReviewRunOptions(gSettings, gJob.outputFormat, run, debug);
  for (const std::string& line : runReview.lines) PrintLine(line);
  if (runReview.error) return Refused(MessageText(*runReview.error));
  // The report is opened now (a file that cannot be written ends the run before the inputs are read) but keeps
  // its content until it is known to be none of them.
  ReportWriter report;
  if (!run.reportFile.empty() && (!IsUsableReportPath(gJob, run.reportFile) || !report.OpenKept(run.reportFile))) {
    return Refused(MessageText(Message::kInvalidReportFile));
  }
  ReportWriter* reportOrNone = report.IsOpen() ? &report : nullptr;
  const BatchPlan plan{gSettings, gJob.outputFormat, gJob.outputFolder};

  const std::int32_t added = Collect(quiet);
  if (reportOrNone != nullptr && !StartReport(report, gJob, gCollectedFiles)) {
    return Refused(MessageText(Message::kInvalidReportFile));
  }
  if (added == 0 || StopRequested()) {
    if (reportOrNone != nullptr) report.WriteLine(SummaryReportLine({.files = added, .interrupted = StopRequested()}));
    PrintString("Msg", "Conversion is not complete");
    if (StopRequested()) return {BatchOutcome::kInterrupted, {}};
    PrintString("Msg", "Empty input files");
    return {BatchOutcome::kNothingCollected, {}};
  }
  const DrawingFont* font = review.watermarkFont.IsFont() ? &review.watermarkFont : nullptr;
  const std::vector<SelectedFile> selected = SelectFiles(plan, run, gCollectedFiles);
  const PassCounts counts = Convert(plan, selected, quiet, font, reportOrNone);
  // A report that could not be completed (a full disk) fails the run as a file would.
  const bool reportComplete = report.Close();
  if (StopRequested()) {
    PrintString("Msg", "Conversion is not complete");
    return {BatchOutcome::kInterrupted, {}};
  }
  BatchResult result = Conclude(counts, run.skipExisting, quiet);
  if (!reportComplete && result.outcome == BatchOutcome::kAllConverted) result.outcome = BatchOutcome::kSomeFailed;
  return result;
}

}  // namespace lumivane
