#include "batch/collected_files.h"

#include "platform/utf8.h"

namespace lumivane {

std::uint32_t PathHash(std::string_view path) {
  std::uint32_t hash = 0;
  for (const char16_t unit : ToUtf16Units(path)) hash = hash * 65599u + unit;
  return hash;
}

bool CollectedFileList::Add(std::string path, std::string relativeSubfolder) {
  if (Contains(path)) return false;
  const std::size_t bucket = BucketOf(path);
  entries_.push_back(CollectedFile{std::move(path), std::move(relativeSubfolder)});
  const std::size_t index = entries_.size() - 1;
  buckets_[bucket].push_back(index);
  index_.emplace(entries_.back().path, index);
  return true;
}

bool CollectedFileList::Contains(std::string_view path) const { return index_.contains(path); }

void CollectedFileList::Clear() {
  index_.clear();
  for (std::vector<std::size_t>& bucket : buckets_) bucket.clear();
  entries_.clear();
}

std::vector<const CollectedFile*> CollectedFileList::InOrder() const {
  std::vector<const CollectedFile*> ordered;
  ordered.reserve(entries_.size());
  Visit([&ordered](const CollectedFile& entry) {
    ordered.push_back(&entry);
    return true;
  });
  return ordered;
}

}  // namespace lumivane
