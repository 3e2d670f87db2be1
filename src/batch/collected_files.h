#pragma once
// The collected file list: the distinct input paths of a batch with their relative subfolders. Its iteration
// order is the conversion order: buckets 0..511 of the path hash, each bucket newest entry first.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumivane {

struct CollectedFile {
  std::string path;               // full path exactly as it was built (no case folding, no normalisation)
  std::string relativeSubfolder;  // folder below the input folder, "" or ending in "/"
};

// The sdbm hash of a path over its UTF-16 code units (h = h * 65599 + unit, 32-bit wrap-around). A byte that is
// not valid UTF-8 counts as one unit of its own value, so ASCII paths hash as their bytes.
std::uint32_t PathHash(std::string_view path);

class CollectedFileList {
 public:
  static constexpr std::size_t kBucketCount = 512;

  static std::size_t BucketOf(std::string_view path) { return PathHash(path) % kBucketCount; }

  // Adds a path that is not in the list yet; false (and no change) when it is already there.
  bool Add(std::string path, std::string relativeSubfolder);
  bool Contains(std::string_view path) const;
  std::size_t Size() const { return entries_.size(); }
  void Clear();

  // Every entry in iteration order. The pointers stay valid until Clear.
  std::vector<const CollectedFile*> InOrder() const;

  // Calls visit(entry) in iteration order until it returns false.
  template <typename Visitor>
  void Visit(Visitor&& visit) const {
    for (const std::vector<std::size_t>& bucket : buckets_) {
      for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
        if (!visit(entries_[*it])) return;
      }
    }
  }

 private:
  std::deque<CollectedFile> entries_;                      // in order of addition; a deque never moves them
  std::array<std::vector<std::size_t>, kBucketCount> buckets_;  // entry indexes, oldest first
  std::unordered_map<std::string_view, std::size_t> index_;     // path -> entry, for the duplicate test
};

}  // namespace lumivane
