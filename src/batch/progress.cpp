#include "batch/progress.h"

namespace lumivane {

void ProgressRecord::Reset() {
  const std::lock_guard<std::mutex> hold(lock_);
  state_ = ProgressSnapshot{};
}

void ProgressRecord::SetPosition(std::int32_t position) {
  const std::lock_guard<std::mutex> hold(lock_);
  state_.position = position;
}

void ProgressRecord::StartFile(std::int32_t position, const std::string& currentFile, std::int64_t lastDuration) {
  const std::lock_guard<std::mutex> hold(lock_);
  state_.position = position;
  state_.currentFile = currentFile;
  state_.lastDuration = lastDuration;
}

void ProgressRecord::AddToCount(std::int32_t added) {
  const std::lock_guard<std::mutex> hold(lock_);
  state_.count += added;
}

void ProgressRecord::SetCount(std::int32_t count) {
  const std::lock_guard<std::mutex> hold(lock_);
  state_.count = count;
}

void ProgressRecord::Stop() {
  const std::lock_guard<std::mutex> hold(lock_);
  state_.running = false;
}

bool ProgressRecord::IsRunning() const {
  const std::lock_guard<std::mutex> hold(lock_);
  return state_.running;
}

ProgressSnapshot ProgressRecord::Snapshot() const {
  const std::lock_guard<std::mutex> hold(lock_);
  return state_;
}

}  // namespace lumivane
