#include "batch/collected_files.h"

#include "batch/utf8_text.h"

namespace lumivane {

std::uint32_t PathHash(std::string_view path) {
  std::uint32_t hash = 0;
  const auto mix = [&hash](std::uint32_t unit) { hash = hash * 65599u + unit; };
  for (std::size_t pos = 0; pos < path.size();) {
    const Utf8Step step = NextUtf8Step(path, pos);
    if (step.codePoint >= 0x10000) {  // a surrogate pair in UTF-16
      const char32_t offset = step.codePoint - 0x10000;
      mix(0xD800 + (offset >> 10));
      mix(0xDC00 + (offset & 0x3FF));
    } else {
      mix(step.codePoint);
    }
    pos += step.length;
  }
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
