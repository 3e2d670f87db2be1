#pragma once
// Writes small camera RAW files for tests, benchmarks and the sample input: a little-endian DNG with one uncompressed
// 16-bit RGGB sensor strip and, optionally, a JPEG preview in a SubIFD (what RAW_PREVIEW returns).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lumivane::testing {

struct DngContent {
  std::int64_t width = 64;  // sensor size in pixels
  std::int64_t height = 48;
  std::uint32_t seed = 1;         // varies the noise laid over the colour gradients; equal seeds give equal files
  std::int64_t previewWidth = 0;  // JPEG preview size, smaller than the sensor as cameras store it; 0 x 0: none
  std::int64_t previewHeight = 0;
  std::string previewComment;       // JPEG comment stored in the preview ("" for none)
  bool previewAfterSensor = false;  // the preview's JPEG follows the sensor strip (else it comes before it)
  // The sensor value at (x, y), from kDngBlackLevel to kDngWhiteLevel, red at even x and y; empty: seeded colour
  // gradients.
  std::function<std::uint16_t(std::int64_t x, std::int64_t y)> sensorValue;
};

// The file's bytes, or nullopt when a size is not positive, the file would not fit TIFF's 32-bit offsets,
// or the memory for it cannot be had.
std::optional<std::string> MakeDngBytes(const DngContent& content);

// Writes the file; false when it cannot be made or any write fails.
bool WriteDngFile(const std::string& path, const DngContent& content);

// The 16-bit sensor value the file stores at (x, y), for tests that look at decoded pixels.
std::uint16_t DngSensorValue(const DngContent& content, std::int64_t x, std::int64_t y);

// Black and white levels written into every file.
inline constexpr std::uint16_t kDngBlackLevel = 256;
inline constexpr std::uint16_t kDngWhiteLevel = 16383;

}  // namespace lumivane::testing
