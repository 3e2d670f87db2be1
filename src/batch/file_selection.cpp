#include "batch/file_selection.h"

#include "batch/output_file_time.h"
#include "batch/output_naming.h"
#include "batch/protected_inputs.h"

namespace lumivane {

std::uint64_t ShardHash(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001b3u;
  }
  return hash;
}

bool IsInShard(std::string_view relativeOutput, std::int32_t shard, std::int32_t shardCount) {
  return ShardHash(relativeOutput) % static_cast<std::uint64_t>(shardCount) == static_cast<std::uint64_t>(shard - 1);
}

std::vector<SelectedFile> SelectFiles(const BatchPlan& plan, const RunOptions& run, const CollectedFileList& files) {
  const std::vector<const CollectedFile*> entries = files.InOrder();
  const bool sharded = run.shardCount > 0;
  // An input under the output's name is no output: the pass fails that file rather than skip it.
  const ProtectedInputs inputs = run.skipExisting ? ProtectedInputs(files) : ProtectedInputs();
  std::vector<SelectedFile> selected;
  selected.reserve(sharded ? entries.size() / static_cast<std::size_t>(run.shardCount) + 1 : entries.size());
  for (std::size_t index = 0; index < entries.size(); ++index) {
    SelectedFile file{entries[index], static_cast<std::int32_t>(index + 1), {}};
    if (sharded || run.skipExisting) {
      // The checks refused every token of the numbering, so the first file's numbering names any file.
      const std::string output =
          OutputPathBeforeDecoding(plan, {file.entry->path, file.entry->relativeSubfolder, FileNumbering{}});
      if (sharded && !IsInShard(std::string_view(output).substr(plan.outputFolder.size()), run.shard, run.shardCount)) {
        continue;
      }
      if (run.skipExisting && OutputIsUpToDate(plan.settings, output, file.entry->path) && !inputs.IsInput(output)) {
        file.existingOutput = output;
      }
    }
    selected.push_back(std::move(file));
  }
  return selected;
}

}  // namespace lumivane
