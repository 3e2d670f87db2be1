#pragma once
// Which collected files a run works on, decided before anything is decoded: with "--shard=K/N" only its share of
// the list, and with "--skip-existing" a file whose output is already there and up to date (and is no input) is
// kept apart, to be skipped. Both go by the output name before decoding, which the run's checks
// (ReviewRunOptions) make sure is the name the conversion would give.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/collected_files.h"
#include "batch/run_options.h"
#include "settings/conversion_records.h"

namespace lumivane {

struct SelectedFile {
  const CollectedFile* entry = nullptr;
  std::int32_t position = 0;   // 1-based position in the whole collected list: the report's index
  std::string existingOutput;  // the up-to-date output that makes the file skipped; "" when it is to be converted

  bool Skipped() const { return !existingOutput.empty(); }
};

// FNV-1a (64 bits) of the bytes: the same on every machine and in every build, which std::hash is not.
std::uint64_t ShardHash(std::string_view bytes);

// Whether the output path relative to the output folder falls to shard K of N (1 <= K <= N): its hash modulo N is
// K - 1. Outputs of the same name fall to the same shard, and every machine agrees wherever it mounts the folders.
bool IsInShard(std::string_view relativeOutput, std::int32_t shard, std::int32_t shardCount);

// The files of the collected list that this run takes, in the list's order.
std::vector<SelectedFile> SelectFiles(const BatchPlan& plan, const RunOptions& run, const CollectedFileList& files);

}  // namespace lumivane
