// make_sample_dng <output.dng> [width height]: writes a camera RAW file of ours with a half-size JPEG preview,
// used as the sample input and for benchmarks.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "dng/dng_writer.h"

namespace {

constexpr std::int64_t kDefaultWidth = 1536;
constexpr std::int64_t kDefaultHeight = 1024;

bool ParseSide(std::string_view text, std::int64_t& side) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  return error == std::errc() && end == text.data() + text.size() && side > 0;
}

int Usage() {
  std::fprintf(stderr, "usage: make_sample_dng <output.dng> [width height]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) return Usage();
  lumivane::testing::DngContent content;
  content.width = kDefaultWidth;
  content.height = kDefaultHeight;
  if (argc == 4 && (!ParseSide(argv[2], content.width) || !ParseSide(argv[3], content.height))) return Usage();
  content.previewWidth = (content.width + 1) / 2;
  content.previewHeight = (content.height + 1) / 2;
  if (!lumivane::testing::WriteDngFile(argv[1], content)) {
    std::fprintf(stderr, "make_sample_dng: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %lld x %lld DNG with a %lld x %lld preview\n", argv[1], static_cast<long long>(content.width),
              static_cast<long long>(content.height), static_cast<long long>(content.previewWidth),
              static_cast<long long>(content.previewHeight));
  return 0;
}
