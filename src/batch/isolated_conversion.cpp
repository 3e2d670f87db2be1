#include "batch/isolated_conversion.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "batch/content_request.h"
#include "batch/content_result.h"
#include "batch/worker_greeting.h"
#include "pipeline/convert_image_file.h"
#include "platform/library_threads.h"
#include "platform/stop_signals.h"

namespace lumivane {
namespace {

ConvertedFile Failed(ConversionFailure failure, const char* detail) {
  ConvertedFile converted;
  converted.failure = failure;
  converted.detail = detail;
  return converted;
}

std::optional<long long> PositiveNumber(const char* text) {
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*end != '\0' || value <= 0) return std::nullopt;
  return value;
}

std::vector<unsigned char> GreetingFor(const BatchPlan& plan, const DrawingFont* watermarkFont,
                                       const IsolationOptions& options) {
  if (options.inProcess) return {};
  return PackWorkerGreeting({plan, watermarkFont != nullptr, options.libraryThreads});
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

ContentWorker::ContentWorker(const BatchPlan& plan, const DrawingFont* watermarkFont, IsolationOptions options)
    : plan_(plan),
      watermarkFont_(watermarkFont),
      options_(options),
      process_(GreetingFor(plan, watermarkFont, options)) {}

bool ContentWorker::Launch() { return options_.inProcess || process_.Launch(); }

bool ContentWorker::WaitUntilReady() { return options_.inProcess || process_.WaitUntilReady(); }

ConvertedFile ContentWorker::Convert(const FileToConvert& file) {
  if (options_.inProcess) {
    if (options_.libraryThreads > 0) LimitLibraryThreads(options_.libraryThreads);
    return ConvertImageContent(plan_, file, watermarkFont_);
  }
  const WorkerResult result = process_.Run(PackContentRequest(file), options_.timeLimit);
  switch (result.outcome) {
    case WorkerOutcome::kTimedOut: return Failed(ConversionFailure::kWorkerTimedOut, "worker timed out");
    case WorkerOutcome::kNotStarted: return Failed(ConversionFailure::kWorkerCrashed, "worker could not be started");
    case WorkerOutcome::kCrashed: return Failed(ConversionFailure::kWorkerCrashed, "worker crashed");
    case WorkerOutcome::kInterrupted: return Failed(ConversionFailure::kInterrupted, "the run was stopped");
    case WorkerOutcome::kCompleted: break;
  }
  ConvertedFile converted;
  const bool whole = UnpackContentResult(result.bytes, converted);
  if (!whole || !converted.Converted()) process_.End();
  if (!whole) return Failed(ConversionFailure::kWorkerCrashed, "worker crashed");
  return converted;
}

ContentWorkerPool::ContentWorkerPool(const BatchPlan& plan, const DrawingFont* watermarkFont, IsolationOptions options,
                                     std::size_t threads)
    : plan_(plan), watermarkFont_(watermarkFont), options_(options) {
  std::size_t wanted = std::max<std::size_t>(threads, 1);
  if (!options_.inProcess) wanted = WorkersTheDescriptorsAllow(wanted);
  std::vector<std::unique_ptr<ContentWorker>> launched;
  for (std::size_t n = 0; n < wanted; ++n) {
    auto worker = std::make_unique<ContentWorker>(plan, watermarkFont, options_);
    if (!worker->Launch()) break;  // the system gives no more: go on with those it gave
    launched.push_back(std::move(worker));
  }
  for (std::unique_ptr<ContentWorker>& worker : launched) {
    if (worker->WaitUntilReady()) {
      workers_.push_back(std::move(worker));
    } else {
      abandonedStarts_ += worker->WorkersStarted();
    }
  }
  if (workers_.empty()) {
    // After a stop signal no file is converted any more: nothing falls back.
    if (!StopRequested()) {
      options_.inProcess = true;
      options_.libraryThreads = 1;
    }
    workers_.push_back(std::make_unique<ContentWorker>(plan, watermarkFont, options_));
  }
  owners_.resize(workers_.size());
}

ContentWorker& ContentWorkerPool::WorkerOfThisThread() {
  const std::lock_guard<std::mutex> hold(lock_);
  const std::thread::id thread = std::this_thread::get_id();
  std::size_t chosen = workers_.size();
  for (std::size_t n = 0; n < workers_.size(); ++n) {
    if (owners_[n] == thread) return *workers_[n];
    if (owners_[n] == std::thread::id() && chosen == workers_.size()) chosen = n;
  }
  if (chosen == workers_.size()) {  // more threads than the pool has workers: one started on demand
    workers_.push_back(std::make_unique<ContentWorker>(plan_, watermarkFont_, options_));
    owners_.emplace_back();
  }
  owners_[chosen] = thread;
  return *workers_[chosen];
}

ConvertedFile ContentWorkerPool::Convert(const FileToConvert& file) { return WorkerOfThisThread().Convert(file); }

int ContentWorkerPool::WorkersStarted() const {
  const std::lock_guard<std::mutex> hold(lock_);
  int started = abandonedStarts_;
  for (const std::unique_ptr<ContentWorker>& worker : workers_) started += worker->WorkersStarted();
  return started;
}

}  // namespace lumivane
