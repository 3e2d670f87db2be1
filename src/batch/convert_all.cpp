#include "batch/convert_all.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "batch/isolated_conversion.h"
#include "batch/memory_budget.h"
#include "batch/ordered_commit.h"
#include "batch/output_file_time.h"
#include "batch/parallel_plan.h"
#include "batch/protected_inputs.h"
#include "batch/validate_job.h"
#include "formats/signature.h"
#include "pipeline/convert_image_file.h"
#include "platform/console.h"
#include "platform/library_threads.h"
#include "platform/progress_line.h"

namespace lumivane {

namespace {

// A converted file is reported as having taken at least a second.
constexpr std::int64_t kShortestDuration = 1000;

std::int64_t MillisecondClock() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool SetsFileTime(const Settings& settings) {
  return settings.advanced.fileTimestamp == kFileTimestampOriginal ||
         settings.advanced.fileTimestamp == kFileTimestampCustom;
}

// What a worker hands to the commit for one file.
struct RenderedFile {
  FileConversion file;
  bool ok = false;
  std::vector<unsigned char> encoded;
  std::int64_t renderMilliseconds = 0;
};

std::uint64_t FileSize(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

// The number of files worked on at once: 1 when a file's pixels depend on the files before it.
std::int32_t JobsFor(const Settings& settings, const JobRecord& job) {
  if (!OneFileAtATimeReason(settings, job.automaticBitDepth != 0).empty()) return 1;
  return ResolveJobCount(job.runOptions.jobs);
}

FileReport ReportOf(std::int32_t index, const FileConversion& file, bool ok, std::int64_t milliseconds) {
  FileReport report;
  report.index = index;
  report.input = file.inputFile;
  report.output = file.outputFile;
  report.converted = ok;
  report.failure = ok ? ConversionFailure::kNone : file.failure;
  report.detail = ok ? std::string() : file.failureText;
  report.width = file.imageWidth;
  report.height = file.imageHeight;
  report.bitDepth = file.outputBitDepth;
  report.milliseconds = milliseconds;
  return report;
}

}  // namespace

void CreateOutputSubfolders(const std::string& outputFolder, const std::string& relativeSubfolder) {
  if (IsExistingFolder(outputFolder + relativeSubfolder)) return;
  std::string path = outputFolder;
  for (std::size_t start = 0; start < relativeSubfolder.size();) {
    std::size_t end = relativeSubfolder.find('/', start);
    if (end == std::string::npos) end = relativeSubfolder.size();
    path += relativeSubfolder.substr(start, end - start) + "/";
    if (!IsExistingFolder(path)) ::mkdir(path.c_str(), 0777);
    start = end + 1;
  }
}

std::int32_t ConvertAll(const Settings& settings, JobRecord& job, ProgressRecord& progress,
                        const CollectedFileList& files, const DrawingFont* watermarkFont, ReportWriter* report) {
  const bool verbose = IsVerbose(job);
  const ProtectedInputs inputs(files);
  const std::vector<const CollectedFile*> entries = files.InOrder();
  const std::int32_t jobs = JobsFor(settings, job);
  std::vector<std::uint64_t> estimates;
  estimates.reserve(entries.size());
  for (const CollectedFile* entry : entries) estimates.push_back(EstimateFileMemory(FileSize(entry->path)));
  OrderedCommit queue(std::move(estimates), 2 * static_cast<std::size_t>(jobs), DefaultMemoryBudget());
  ProgressLine progressLine(job.runOptions.progress, static_cast<std::int32_t>(entries.size()));
  // Workers of a parallel run read a copy of the job: the commit renews its counters as it goes. With one job
  // each file is handed over after the commit of the one before, so the job itself is read.
  const JobRecord jobAtStart = job;
  const JobRecord& renderJob = jobs == 1 ? job : jobAtStart;
  IsolationOptions isolation = IsolationOptionsFromEnvironment();
  isolation.libraryThreads = LibraryThreadsPerJob(jobs, std::thread::hardware_concurrency());
  // No more workers than files: a short batch on a large machine forks only what it uses.
  ContentWorkerPool workers(settings, renderJob, watermarkFont, isolation,
                            std::min(static_cast<std::size_t>(jobs), std::max<std::size_t>(entries.size(), 1)));

  const std::int64_t batchStart = MillisecondClock();
  std::int32_t converted = 0;
  std::int64_t duration = 0;
  auto render = [&](std::size_t index) {
    RenderedFile rendered;
    rendered.file.inputFile = entries[index]->path;
    rendered.file.relativeSubfolder = entries[index]->relativeSubfolder;
    const std::int64_t start = MillisecondClock();
    rendered.ok = workers.Convert(rendered.file, rendered.encoded);
    rendered.renderMilliseconds = MillisecondClock() - start;
    return rendered;
  };
  auto heldBytes = [](const RenderedFile& rendered) { return std::uint64_t{rendered.encoded.size()}; };
  auto commit = [&](std::size_t index, RenderedFile& rendered) {
    const CollectedFile& entry = *entries[index];
    const auto position = static_cast<std::int32_t>(index + 1);
    progress.StartFile(position, entry.path, duration);
    if (settings.advanced.keepSubfolders != 0) CreateOutputSubfolders(job.outputFolder, entry.relativeSubfolder);
    if (verbose) {
      PrintLine("Processing: " + entry.path);
      PrintLine("File Format: " + IdentifySignature(entry.path));
    }
    FileConversion& file = rendered.file;
    const std::int64_t start = MillisecondClock();
    const bool ok = rendered.ok && CommitImageFile(settings, job, inputs, file, rendered.encoded);
    const std::int64_t milliseconds = rendered.renderMilliseconds + (MillisecondClock() - start);
    // A watermark's "%bpp%" shows the depth fixed for the file before, converted or not.
    if (job.automaticBitDepth != 0 && file.outputBitDepth != 0) job.previousOutputBitDepth = file.outputBitDepth;
    if (ok) {
      if (verbose) PrintLine("[OK] Saving As: " + file.outputFile);
      ++converted;
      duration = std::max(milliseconds, kShortestDuration);
      job.randomNumber = DrawRandomNumber();
      ++job.fileCounter;
      if (SetsFileTime(settings)) SetOutputFileTime(settings, file.outputFile, entry.path);
    } else {
      duration = 0;
      if (verbose) PrintLine("[ERROR] Unable to convert the file!");
    }
    if (report != nullptr) report->WriteLine(FileReportLine(ReportOf(position, file, ok, milliseconds)));
    progressLine.FileDone();
    if (!progress.IsRunning()) queue.Stop();
  };
  if (progress.IsRunning()) RunInOrder<RenderedFile>(queue, jobs, render, heldBytes, commit);
  progressLine.Finish();
  if (report != nullptr) {
    const auto collected = static_cast<std::int32_t>(entries.size());
    report->WriteLine(SummaryReportLine({collected, converted, collected - converted, jobs,
                                         MillisecondClock() - batchStart}));
  }
  progress.SetCount(converted);
  return converted;
}

}  // namespace lumivane
