#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch/collected_files.h"
#include "batch_test_helpers.h"

namespace lumivane::testing {
namespace {

struct HashCase {
  std::string utf8;
  std::u16string units;
};

TEST(PathHashTest, IsSdbmOverUtf16CodeUnits) {
  const HashCase cases[] = {
      {"", u""},
      {"/photos/IMG_0001.CR2", u"/photos/IMG_0001.CR2"},
      {"/f\xC3\xA9te/\xE6\x97\xA5.nef", u"/f\u00E9te/\u65E5.nef"},     // two- and three-byte characters
      {"/\xF0\x9F\x98\x80.cr2", u"/\U0001F600.cr2"},                    // a surrogate pair
      {"/a\xFF" "b.cr2", std::u16string{u'/', u'a', char16_t{0xFF}, u'b', u'.', u'c', u'r', u'2'}},  // stray byte
      {"/\xC0\xAF.cr2", std::u16string{u'/', char16_t{0xC0}, char16_t{0xAF}, u'.', u'c', u'r', u'2'}},  // overlong
  };
  for (const HashCase& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(PathHash(c.utf8), ReferenceSdbm(c.units));
    EXPECT_EQ(CollectedFileList::BucketOf(c.utf8), ReferenceSdbm(c.units) % 512);
  }
}

// Names whose buckets are given by the reference hash; the first two share a bucket.
std::vector<std::string> NamesWithTwoInOneBucket() {
  std::vector<std::string> names;
  const std::string first = "/in/p0.cr2";
  names.push_back(first);
  for (int i = 1; names.size() < 2; ++i) {
    const std::string candidate = "/in/p" + std::to_string(i) + ".cr2";
    if (ReferenceBucketOfAscii(candidate) == ReferenceBucketOfAscii(first)) names.push_back(candidate);
  }
  for (int i = 1; names.size() < 8; ++i) names.push_back("/in/q" + std::to_string(i) + ".cr2");
  return names;
}

TEST(CollectedFileListTest, IteratesBucketsInOrderNewestFirstWithinABucket) {
  const std::vector<std::string> names = NamesWithTwoInOneBucket();
  CollectedFileList list;
  for (const std::string& name : names) EXPECT_TRUE(list.Add(name, ""));

  // Expected: ascending bucket; within one bucket the later addition comes first.
  std::vector<std::size_t> order(names.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const std::size_t bucketA = ReferenceBucketOfAscii(names[a]);
    const std::size_t bucketB = ReferenceBucketOfAscii(names[b]);
    return bucketA != bucketB ? bucketA < bucketB : a > b;
  });
  std::vector<std::string> expected;
  for (const std::size_t i : order) expected.push_back(names[i]);
  ASSERT_NE(expected, names) << "the chosen names should not come out in the order they were added";

  std::vector<std::string> iterated;
  for (const CollectedFile* entry : list.InOrder()) iterated.push_back(entry->path);
  EXPECT_EQ(iterated, expected);

  const auto second = std::find(iterated.begin(), iterated.end(), names[1]);
  ASSERT_NE(second, iterated.end());
  EXPECT_EQ(*(second + 1), names[0]) << "the newer entry of a shared bucket comes first";
}

TEST(CollectedFileListTest, KeepsEachPathOnceAndExactlyAsGiven) {
  CollectedFileList list;
  EXPECT_TRUE(list.Add("/in/a.cr2", "x/"));
  EXPECT_FALSE(list.Add("/in/a.cr2", "y/"));
  EXPECT_TRUE(list.Add("/in/A.cr2", ""));    // no case folding
  EXPECT_TRUE(list.Add("/in//a.cr2", ""));   // no normalisation of separators
  EXPECT_EQ(list.Size(), 3u);
  EXPECT_TRUE(list.Contains("/in/a.cr2"));
  EXPECT_FALSE(list.Contains("/in/b.cr2"));

  int visited = 0;
  list.Visit([&](const CollectedFile& entry) {
    if (entry.path == "/in/a.cr2") EXPECT_EQ(entry.relativeSubfolder, "x/");
    return ++visited < 2;  // the visit stops when asked to
  });
  EXPECT_EQ(visited, 2);

  list.Clear();
  EXPECT_EQ(list.Size(), 0u);
  EXPECT_TRUE(list.InOrder().empty());
  EXPECT_TRUE(list.Add("/in/a.cr2", ""));
}

TEST(CollectedFileListTest, HoldsAMillionDistinctPaths) {
  CollectedFileList list;
  constexpr int kCount = 1000000;
  for (int i = 0; i < kCount; ++i) {
    list.Add("/photos/day" + std::to_string(i % 97) + "/" + std::to_string(i) + ".cr2", "");
  }
  EXPECT_FALSE(list.Add("/photos/day5/5.cr2", ""));
  const std::vector<const CollectedFile*> ordered = list.InOrder();
  ASSERT_EQ(ordered.size(), static_cast<std::size_t>(kCount));
  EXPECT_TRUE(std::is_sorted(ordered.begin(), ordered.end(), [](const CollectedFile* a, const CollectedFile* b) {
    return CollectedFileList::BucketOf(a->path) < CollectedFileList::BucketOf(b->path);
  }));
}

}  // namespace
}  // namespace lumivane::testing
