#include "batch/isolated_conversion.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "batch/content_request.h"
#include "batch/content_result.h"
#include "pipeline/convert_image_file.h"
#include "platform/library_threads.h"

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

// In the worker: one file's library part on the worker's own copy of the job, with the counters of the request.
std::vector<unsigned char> ConvertRequest(const Settings& settings, const JobRecord& job,
                                          const DrawingFont* watermarkFont, int libraryThreads,
                                          std::span<const unsigned char> request) {
  if (libraryThreads > 0) LimitLibraryThreads(libraryThreads);
  JobRecord current = job;
  FileConversion file;
  if (!UnpackContentRequest(request, current, file)) return {};  // no whole result: the caller counts a crash
  std::vector<unsigned char> encoded;
  const bool ok = ConvertImageContent(settings, current, file, watermarkFont, encoded);
  return PackContentResult(ok, file, encoded);
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

void ContentWorker::Prepare() {
  if (!options_.inProcess) process_.Prepare();
}

ContentWorker::ContentWorker(const Settings& settings, const JobRecord& job, const DrawingFont* watermarkFont,
                             IsolationOptions options)
    : settings_(settings),
      job_(job),
      watermarkFont_(watermarkFont),
      options_(options),
      process_([&settings, &job, watermarkFont, threads = options.libraryThreads](
                   std::span<const unsigned char> request) {
        return ConvertRequest(settings, job, watermarkFont, threads, request);
      }) {}

bool ContentWorker::Convert(FileConversion& file, std::vector<unsigned char>& encoded) {
  encoded.clear();
  if (options_.inProcess) {
    if (options_.libraryThreads > 0) LimitLibraryThreads(options_.libraryThreads);
    return ConvertImageContent(settings_, job_, file, watermarkFont_, encoded);
  }
  const WorkerResult result = process_.Run(PackContentRequest(job_, file), options_.timeLimit);
  switch (result.outcome) {
    case WorkerOutcome::kTimedOut: return Fail(file, ConversionFailure::kWorkerTimedOut, "worker timed out");
    case WorkerOutcome::kNotStarted:
      return Fail(file, ConversionFailure::kWorkerCrashed, "worker could not be started");
    case WorkerOutcome::kCrashed: return Fail(file, ConversionFailure::kWorkerCrashed, "worker crashed");
    case WorkerOutcome::kCompleted: break;
  }
  const std::optional<bool> ok = UnpackContentResult(result.bytes, file, encoded);
  if (!ok || !*ok) process_.End();
  if (!ok) return Fail(file, ConversionFailure::kWorkerCrashed, "worker crashed");
  return *ok;
}

ContentWorkerPool::ContentWorkerPool(const Settings& settings, const JobRecord& job, const DrawingFont* watermarkFont,
                                     IsolationOptions options, std::size_t threads)
    : settings_(settings), job_(job), watermarkFont_(watermarkFont), options_(options) {
  for (std::size_t n = 0; n < std::max<std::size_t>(threads, 1); ++n) {
    workers_.push_back(std::make_unique<ContentWorker>(settings, job, watermarkFont, options));
    workers_.back()->Prepare();
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
  if (chosen == workers_.size()) {  // more threads than the pool was made for: a worker forked on demand
    workers_.push_back(std::make_unique<ContentWorker>(settings_, job_, watermarkFont_, options_));
    owners_.emplace_back();
  }
  owners_[chosen] = thread;
  return *workers_[chosen];
}

bool ContentWorkerPool::Convert(FileConversion& file, std::vector<unsigned char>& encoded) {
  return WorkerOfThisThread().Convert(file, encoded);
}

int ContentWorkerPool::WorkersStarted() const {
  const std::lock_guard<std::mutex> hold(lock_);
  int started = 0;
  for (const std::unique_ptr<ContentWorker>& worker : workers_) started += worker->WorkersStarted();
  return started;
}

}  // namespace lumivane
