#pragma once
// The progress record: what the worker of the current phase has done so far. Workers update it under its lock;
// any other thread may read a snapshot or clear the running flag at any time.
#include <cstdint>
#include <mutex>
#include <string>

namespace lumivane {

struct ProgressSnapshot {
  std::int32_t position{};      // entries handled so far in the current phase
  std::string currentFile;      // file being converted
  std::int64_t lastDuration{};  // milliseconds the last file took: at least 1000 when converted, 0 when it failed
  std::int32_t count{};         // result of the phase: files added, or files converted
  bool running{true};           // workers stop taking new entries once this is false
};

class ProgressRecord {
 public:
  // Start of a phase: position 0, no current file, count 0, running.
  void Reset();

  void SetPosition(std::int32_t position);
  // Publishes the file a conversion worker starts on, with the duration of the one before.
  void StartFile(std::int32_t position, const std::string& currentFile, std::int64_t lastDuration);
  void AddToCount(std::int32_t added);
  void SetCount(std::int32_t count);

  // A stop request: the worker finishes its current entry and takes no further one.
  void Stop();
  bool IsRunning() const;

  ProgressSnapshot Snapshot() const;

 private:
  mutable std::mutex lock_;
  ProgressSnapshot state_;
};

}  // namespace lumivane
