#include "batch/convert_all.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "batch/isolated_conversion.h"
#include "batch/job.h"
#include "batch/memory_budget.h"
#include "batch/ordered_commit.h"
#include "batch/output_file_time.h"
#include "batch/output_naming.h"
#include "batch/parallel_plan.h"
#include "batch/protected_inputs.h"
#include "batch/validate_job.h"
#include "formats/registry.h"
#include "formats/signature.h"
#include "platform/console.h"
#include "platform/library_threads.h"
#include "platform/progress_line.h"
#include "platform/stop_signals.h"
#include "settings/messages.h"

namespace lumivane {

namespace {

// A converted file is reported as having taken at least a second.
constexpr std::int64_t kShortestDuration = 1000;

std::int64_t MillisecondClock() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::uint64_t FileSize(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

ConvertedFile Failed(ConversionFailure failure, const char* detail) {
  ConvertedFile converted;
  converted.failure = failure;
  converted.detail = detail;
  return converted;
}

// What a worker hands to the commit for one file.
struct RenderedFile {
  FileToConvert file;
  ConvertedFile converted;
  std::int64_t renderMilliseconds = 0;
};

// One pass over the collected files: workers render files into memory in any order, the calling thread commits
// them in list order (naming, writing, numbering, console and report lines).
class ConversionPass {
 public:
  ConversionPass(const BatchPlan& plan, const RunOptions& run, bool verbose, ProgressRecord& progress,
                 const CollectedFileList& files, const std::vector<SelectedFile>& selected, ReportWriter* report)
      : plan_(plan),
        verbose_(verbose),
        progress_(progress),
        report_(report),
        entries_(selected),
        toDecode_(static_cast<std::size_t>(
            std::count_if(selected.begin(), selected.end(), [](const SelectedFile& file) { return !file.Skipped(); }))),
        // Only a file that is written needs them (a look at every input on disk).
        inputs_(toDecode_ > 0 ? ProtectedInputs(files) : ProtectedInputs()),
        jobs_(JobsFor(run)),
        progressLine_(run.progress, static_cast<std::int32_t>(entries_.size())),
        numberingAtStart_(numbering_) {}

  PassCounts Run(const DrawingFont* watermarkFont) {
    const std::int64_t start = MillisecondClock();
    IsolationOptions isolation = IsolationOptionsFromEnvironment();
    isolation.libraryThreads = LibraryThreadsPerJob(jobs_, std::thread::hardware_concurrency());
    // No more workers than files to decode: a short batch on a large machine starts only what it uses, and a batch
    // whose outputs are all up to date none. Fewer when the system gives fewer.
    std::optional<ContentWorkerPool> workers;
    if (toDecode_ > 0) {
      workers.emplace(plan_, watermarkFont, isolation, std::min<std::size_t>(jobs_, toDecode_));
      jobs_ = std::min(jobs_, static_cast<std::int32_t>(workers->Size()));
    }
    OrderedCommit queue(MemoryEstimates(), 2 * static_cast<std::size_t>(jobs_), DefaultMemoryBudget());
    // A batch with nothing to decode commits its skipped files on this thread, without a hand-over per file.
    auto threads = static_cast<std::int32_t>(std::min<std::size_t>(jobs_, std::max<std::size_t>(toDecode_, 1)));
    if (progress_.IsRunning() && !StopRequested()) {
      RunInOrder<RenderedFile>(
          queue, threads, [&](std::size_t index) { return Render(workers, index); },
          [](const RenderedFile& rendered) { return std::uint64_t{rendered.converted.encoded.size()}; },
          [&](std::size_t index, RenderedFile& rendered) {
            Commit(index, rendered);
            if (!progress_.IsRunning() || StopRequested()) queue.Stop();
          },
          &threads);
    }
    progressLine_.Finish();
    WriteSummary(MillisecondClock() - start, threads, workers);
    progress_.SetCount(converted_);
    return {static_cast<std::int32_t>(entries_.size()), converted_, skipped_};
  }

 private:
  // 1 when a file's pixels depend on the files before it.
  std::int32_t JobsFor(const RunOptions& run) const {
    const bool automaticDepth = BitDepthSettingValue(plan_.settings, plan_.outputFormat) == 0;
    if (!OneFileAtATimeReason(plan_.settings, automaticDepth).empty()) return 1;
    return ResolveJobCount(run.jobs);
  }

  std::vector<std::uint64_t> MemoryEstimates() const {
    std::vector<std::uint64_t> estimates;
    estimates.reserve(entries_.size());
    for (const SelectedFile& file : entries_) {
      estimates.push_back(file.Skipped() ? 0 : EstimateFileMemory(FileSize(file.entry->path)));
    }
    return estimates;
  }

  // On a worker thread. With one job each file is handed over after the commit of the one before and sees the
  // numbering as it stands; workers of a parallel run see it as it was at the start (their watermark texts do not
  // show it, or the run would take one file at a time).
  RenderedFile Render(std::optional<ContentWorkerPool>& workers, std::size_t index) {
    const SelectedFile& selected = entries_[index];
    RenderedFile rendered;
    rendered.file = {selected.entry->path, selected.entry->relativeSubfolder,
                     jobs_ == 1 ? numbering_ : numberingAtStart_};
    if (selected.Skipped()) {
      rendered.converted.failure = ConversionFailure::kSkipped;
      return rendered;
    }
    const std::int64_t start = MillisecondClock();
    rendered.converted = RenderedContent(*workers, rendered.file);
    rendered.renderMilliseconds = MillisecondClock() - start;
    // Only the batch leaves a file alone on purpose; a worker that says so is confused.
    if (!rendered.converted.Converted() && !IsFailure(rendered.converted.failure)) {
      rendered.converted.failure = ConversionFailure::kWorkerCrashed;
    }
    return rendered;
  }

  // A skipped file: its line in place of the others, its report line; it takes no number.
  void CommitSkipped(const SelectedFile& selected, const RenderedFile& rendered) {
    if (verbose_) PrintLine(std::string(MessageText(Message::kSkipped)) + selected.existingOutput);
    ++skipped_;
    duration_ = 0;
    if (report_ != nullptr) {
      report_->WriteLine(
          FileReportLine(ReportOf(selected.position, rendered.file, rendered.converted, selected.existingOutput, 0)));
    }
    progressLine_.FileDone();
  }

  static ConvertedFile RenderedContent(ContentWorkerPool& workers, const FileToConvert& file) {
    if (StopRequested()) return Failed(ConversionFailure::kInterrupted, "the run was stopped");
    // Such a path was collected (it exists), but no decoder can open it.
    if (file.inputFile.size() >= PATH_MAX) {
      return Failed(ConversionFailure::kPathTooLong, "the path is longer than the system allows");
    }
    try {
      return workers.Convert(file);
    } catch (const std::bad_alloc&) {
      return Failed(ConversionFailure::kOutOfMemory, "not enough memory for the file");
    }
  }

  // On the calling thread, in list order.
  void Commit(std::size_t index, RenderedFile& rendered) {
    const SelectedFile& selected = entries_[index];
    const FileToConvert& file = rendered.file;
    ConvertedFile& converted = rendered.converted;
    progress_.StartFile(static_cast<std::int32_t>(index + 1), file.inputFile, duration_);
    if (selected.Skipped()) return CommitSkipped(selected, rendered);
    if (plan_.settings.advanced.keepSubfolders != 0) CreateOutputSubfolders(plan_.outputFolder, file.relativeSubfolder);
    if (verbose_) {
      PrintLine(std::string(MessageText(Message::kProcessing)) + file.inputFile);
      PrintLine(std::string(MessageText(Message::kFileFormat)) + IdentifySignature(file.inputFile));
    }
    const std::int64_t start = MillisecondClock();
    // Once a stop signal has arrived, nothing more is written.
    if (converted.Converted() && StopRequested()) {
      converted = Failed(ConversionFailure::kInterrupted, "the run was stopped");
    }
    std::string output;
    if (converted.Converted()) output = CommitConvertedFile(plan_, inputs_, file, numbering_, converted);
    const bool ok = converted.Converted();
    const std::int64_t milliseconds = rendered.renderMilliseconds + (MillisecondClock() - start);
    // A watermark's "%bpp%" shows the depth fixed for the file before, converted or not.
    if (converted.outputBitDepth != 0) numbering_.previousOutputBitDepth = converted.outputBitDepth;
    if (ok) {
      if (verbose_) PrintLine(std::string(MessageText(Message::kSaved)) + output);
      ++converted_;
      duration_ = std::max(milliseconds, kShortestDuration);
      NumberNextFile(numbering_);
      if (plan_.settings.advanced.fileTimestamp != FileTimestamp::kCurrent) {
        SetOutputFileTime(plan_.settings, output, file.inputFile);
      }
    } else {
      duration_ = 0;
      if (verbose_) PrintLine(std::string(MessageText(Message::kNotConverted)));
    }
    if (report_ != nullptr)
      report_->WriteLine(FileReportLine(ReportOf(selected.position, file, converted, output, milliseconds)));
    ++committed_;
    progressLine_.FileDone();
  }

  static FileReport ReportOf(std::int32_t index, const FileToConvert& file, const ConvertedFile& converted,
                             const std::string& output, std::int64_t milliseconds) {
    return FileReport{index,
                      file.inputFile,
                      output,
                      converted.Converted(),
                      converted.failure,
                      converted.detail,
                      converted.imageWidth,
                      converted.imageHeight,
                      converted.outputBitDepth,
                      milliseconds};
  }

  void WriteSummary(std::int64_t milliseconds, std::int32_t threads, const std::optional<ContentWorkerPool>& workers) {
    if (report_ == nullptr) return;
    ReportSummary summary;
    summary.files = static_cast<std::int32_t>(entries_.size());
    summary.converted = converted_;
    summary.failed = committed_ - converted_;  // skipped files are not committed as failures
    summary.skipped = skipped_;
    summary.jobs = threads;
    summary.milliseconds = milliseconds;
    summary.workersStarted = workers ? workers->WorkersStarted() : 0;
    summary.inProcess = workers && workers->InProcess();
    summary.interrupted = StopRequested();
    report_->WriteLine(SummaryReportLine(summary));
  }

  const BatchPlan& plan_;
  const bool verbose_;
  ProgressRecord& progress_;
  ReportWriter* report_;
  const std::vector<SelectedFile>& entries_;
  const std::size_t toDecode_;  // the files that are not skipped
  const ProtectedInputs inputs_;
  std::int32_t jobs_;  // as asked, then no more than the workers that could be had
  ProgressLine progressLine_;
  FileNumbering numbering_ = FirstFileNumbering();
  const FileNumbering numberingAtStart_;
  std::int32_t converted_ = 0;
  std::int32_t skipped_ = 0;
  std::int32_t committed_ = 0;
  std::int64_t duration_ = 0;  // of the file before, as the progress record publishes it
};

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

PassCounts ConvertAll(const BatchPlan& plan, const RunOptions& run, bool verbose, ProgressRecord& progress,
                      const CollectedFileList& files, const std::vector<SelectedFile>& selected,
                      const DrawingFont* watermarkFont, ReportWriter* report) {
  return ConversionPass(plan, run, verbose, progress, files, selected, report).Run(watermarkFont);
}

}  // namespace lumivane
