#include "dng/dng_writer.h"

#include <FreeImage.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace lumivane::testing {

namespace {

// TIFF field types used here.
constexpr std::uint16_t kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kSRational = 10;

// TIFF addresses everything with 32-bit offsets.
constexpr std::uint64_t kMaxTiffBytes = std::numeric_limits<std::uint32_t>::max();
// Baseline JPEG cannot describe larger sides.
constexpr std::int64_t kMaxJpegSide = 65500;

struct TiffEntry {
  std::uint16_t tag;
  std::uint16_t type;
  std::uint32_t count;
  std::string value;  // little-endian bytes of all values
};

void PutU16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

TiffEntry Bytes(std::uint16_t tag, std::initializer_list<std::uint8_t> values) {
  TiffEntry e{tag, kByte, static_cast<std::uint32_t>(values.size()), {}};
  for (auto v : values) e.value.push_back(static_cast<char>(v));
  return e;
}

TiffEntry Ascii(std::uint16_t tag, const std::string& text) {
  return {tag, kAscii, static_cast<std::uint32_t>(text.size() + 1), text + '\0'};
}

TiffEntry Shorts(std::uint16_t tag, std::initializer_list<std::uint16_t> values) {
  TiffEntry e{tag, kShort, static_cast<std::uint32_t>(values.size()), {}};
  for (auto v : values) PutU16(e.value, v);
  return e;
}

TiffEntry Long(std::uint16_t tag, std::uint64_t value) {
  TiffEntry e{tag, kLong, 1, {}};
  PutU32(e.value, static_cast<std::uint32_t>(value));
  return e;
}

// Rationals as numerator / 10000.
TiffEntry Rationals(std::uint16_t tag, std::uint16_t type, std::initializer_list<std::int32_t> numerators) {
  TiffEntry e{tag, type, static_cast<std::uint32_t>(numerators.size()), {}};
  for (auto n : numerators) {
    PutU32(e.value, static_cast<std::uint32_t>(n));
    PutU32(e.value, 10000);
  }
  return e;
}

std::uint64_t EvenSize(std::uint64_t size) { return size + (size & 1); }

std::uint64_t IfdSize(const std::vector<TiffEntry>& entries) {
  std::uint64_t size = 2 + 12 * entries.size() + 4;
  for (const auto& e : entries) {
    if (e.value.size() > 4) size += EvenSize(e.value.size());
  }
  return size;
}

// Appends one IFD at the end of out; values longer than four bytes follow it.
void AppendIfd(std::string& out, std::vector<TiffEntry> entries, std::uint32_t nextIfd) {
  std::sort(entries.begin(), entries.end(), [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
  std::uint64_t external = out.size() + 2 + 12 * entries.size() + 4;
  PutU16(out, static_cast<std::uint16_t>(entries.size()));
  for (const auto& e : entries) {
    PutU16(out, e.tag);
    PutU16(out, e.type);
    PutU32(out, e.count);
    if (e.value.size() <= 4) {
      out += e.value;
      out.append(4 - e.value.size(), '\0');
    } else {
      PutU32(out, static_cast<std::uint32_t>(external));
      external += EvenSize(e.value.size());
    }
  }
  PutU32(out, nextIfd);
  for (const auto& e : entries) {
    if (e.value.size() <= 4) continue;
    out += e.value;
    if (e.value.size() & 1) out.push_back('\0');
  }
}

// Where each part of the file starts.
struct DngLayout {
  std::uint64_t previewIfd = 0;
  std::uint64_t jpeg = 0;
  std::uint64_t jpegSize = 0;
  std::uint64_t sensor = 0;
  std::uint64_t sensorSize = 0;
  std::uint64_t total = 0;
};

std::vector<TiffEntry> SensorIfdEntries(const DngContent& content, const DngLayout& layout, bool withPreview) {
  std::vector<TiffEntry> entries = {
      Long(254, 0),  // NewSubfileType: the main image
      Long(256, static_cast<std::uint64_t>(content.width)), Long(257, static_cast<std::uint64_t>(content.height)),
      Shorts(258, {16}), Shorts(259, {1}),  // uncompressed
      Shorts(262, {32803}),                 // colour filter array
      Ascii(271, "Lumivane"), Ascii(272, "Test Sensor"), Long(273, layout.sensor), Shorts(274, {1}), Shorts(277, {1}),
      Long(278, static_cast<std::uint64_t>(content.height)), Long(279, layout.sensorSize), Shorts(284, {1}),
      Shorts(33421, {2, 2}),       // CFARepeatPatternDim
      Bytes(33422, {0, 1, 1, 2}),  // CFAPattern: RGGB
      Bytes(50706, {1, 4, 0, 0}),  // DNGVersion
      Bytes(50707, {1, 1, 0, 0}),  // DNGBackwardVersion
      Ascii(50708, "Lumivane Test Sensor"), Shorts(50714, {kDngBlackLevel}), Shorts(50717, {kDngWhiteLevel}),
      // ColorMatrix1: XYZ to linear sRGB, so the sensor's channels are plain sRGB primaries.
      Rationals(50721, kSRational, {32406, -15372, -4986, -9689, 18758, 415, 557, -2040, 10570}),
      Rationals(50728, kRational, {10000, 10000, 10000}),  // AsShotNeutral
      Shorts(50778, {21}),                                 // CalibrationIlluminant1: D65
  };
  if (withPreview) entries.push_back(Long(330, layout.previewIfd));  // SubIFDs
  return entries;
}

std::vector<TiffEntry> PreviewIfdEntries(const DngContent& content, const DngLayout& layout) {
  return {
      Long(254, 1),  // NewSubfileType: reduced-resolution copy
      Long(256, static_cast<std::uint64_t>(content.previewWidth)),
      Long(257, static_cast<std::uint64_t>(content.previewHeight)),
      Shorts(258, {8, 8, 8}),
      Shorts(259, {7}),  // JPEG
      Shorts(262, {6}),  // YCbCr
      Long(273, layout.jpeg),
      Shorts(277, {3}),
      Long(278, static_cast<std::uint64_t>(content.previewHeight)),
      Long(279, layout.jpegSize),
      Shorts(284, {1}),
  };
}

std::uint64_t MixBits(std::uint64_t v) {
  v += 0x9E3779B97F4A7C15ULL;
  v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ULL;
  v = (v ^ (v >> 27)) * 0x94D049BB133111EBULL;
  return v ^ (v >> 31);
}

// Fills a 24-bit picture with gradients and saves it as JPEG into memory.
std::optional<std::string> MakePreviewJpeg(const DngContent& content) {
  const int width = static_cast<int>(content.previewWidth);
  const int height = static_cast<int>(content.previewHeight);
  FIBITMAP* picture = FreeImage_Allocate(width, height, 24);
  if (picture == nullptr) return std::nullopt;
  for (int y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(picture, height - 1 - y);
    for (int x = 0; x < width; ++x) {
      row[3 * x + FI_RGBA_RED] = static_cast<BYTE>(255LL * x / std::max(width - 1, 1));
      row[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(content.seed * 37 % 256);
      row[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(255LL * y / std::max(height - 1, 1));
    }
  }
  if (!content.previewComment.empty())
    FreeImage_SetMetadataKeyValue(FIMD_COMMENTS, picture, "Comment", content.previewComment.c_str());

  std::optional<std::string> bytes;
  FIMEMORY* memory = FreeImage_OpenMemory();
  BYTE* data = nullptr;
  DWORD size = 0;
  if (memory != nullptr && FreeImage_SaveToMemory(FIF_JPEG, picture, memory, JPEG_QUALITYGOOD) &&
      FreeImage_AcquireMemory(memory, &data, &size)) {
    bytes.emplace(reinterpret_cast<const char*>(data), size);
  }
  if (memory != nullptr) FreeImage_CloseMemory(memory);
  FreeImage_Unload(picture);
  return bytes;
}

bool HasValidSizes(const DngContent& content) {
  const bool anyPreview = content.previewWidth != 0 || content.previewHeight != 0;
  if (content.width <= 0 || content.height <= 0) return false;
  constexpr auto kMaxSide = static_cast<std::int64_t>(kMaxTiffBytes);
  if (content.width > kMaxSide || content.height > kMaxSide) return false;
  if (!anyPreview) return true;
  return content.previewWidth > 0 && content.previewHeight > 0 && content.previewWidth <= kMaxJpegSide &&
         content.previewHeight <= kMaxJpegSide;
}

// Appends bytes, and a zero byte after an odd number of them (TIFF data starts at even offsets).
void AppendPadded(std::string& out, const std::string& bytes) {
  out += bytes;
  if (bytes.size() & 1) out.push_back('\0');
}

void AppendSensorData(std::string& out, const DngContent& content) {
  for (std::int64_t y = 0; y < content.height; ++y) {
    for (std::int64_t x = 0; x < content.width; ++x) PutU16(out, DngSensorValue(content, x, y));
  }
}

}  // namespace

std::uint16_t DngSensorValue(const DngContent& content, std::int64_t x, std::int64_t y) {
  if (content.sensorValue) return content.sensorValue(x, y);
  constexpr std::int64_t range = kDngWhiteLevel - kDngBlackLevel;
  const std::int64_t w = std::max<std::int64_t>(content.width - 1, 1);
  const std::int64_t h = std::max<std::int64_t>(content.height - 1, 1);
  // RGGB: red rises to the right, blue downwards, green along the diagonal; each uses three quarters of the range
  // and seeded noise adds up to a sixteenth.
  std::int64_t level;
  if (y % 2 == 0 && x % 2 == 0) {
    level = range * 3 / 4 * x / w;
  } else if (y % 2 == 1 && x % 2 == 1) {
    level = range * 3 / 4 * y / h;
  } else {
    level = range * 3 / 8 * x / w + range * 3 / 8 * y / h;
  }
  const std::uint64_t noise = MixBits((static_cast<std::uint64_t>(content.seed) << 32) ^
                                      MixBits(static_cast<std::uint64_t>(y)) ^ static_cast<std::uint64_t>(x));
  level += static_cast<std::int64_t>(noise % (range / 16));
  return static_cast<std::uint16_t>(kDngBlackLevel + std::min(level, range));
}

std::optional<std::string> MakeDngBytes(const DngContent& content) {
  if (!HasValidSizes(content)) return std::nullopt;
  const bool withPreview = content.previewWidth > 0;

  std::string jpeg;
  if (withPreview) {
    auto made = MakePreviewJpeg(content);
    if (!made) return std::nullopt;
    jpeg = std::move(*made);
  }

  DngLayout layout;
  const std::uint64_t sensorIfdSize = IfdSize(SensorIfdEntries(content, layout, withPreview));
  const std::uint64_t previewIfdSize = withPreview ? IfdSize(PreviewIfdEntries(content, layout)) : 0;
  // Both sides are below 2^32 (checked above), so the product fits in 64 bits; the check below bounds the total.
  const std::uint64_t pixels = static_cast<std::uint64_t>(content.width) * static_cast<std::uint64_t>(content.height);
  if (pixels > kMaxTiffBytes / 2) return std::nullopt;
  layout.sensorSize = pixels * 2;
  layout.jpegSize = jpeg.size();
  layout.previewIfd = 8 + sensorIfdSize;
  const std::uint64_t afterIfds = layout.previewIfd + previewIfdSize;
  if (content.previewAfterSensor) {
    layout.sensor = afterIfds;
    layout.jpeg = layout.sensor + layout.sensorSize;
  } else {
    layout.jpeg = afterIfds;
    layout.sensor = layout.jpeg + EvenSize(jpeg.size());
  }
  layout.total = afterIfds + layout.sensorSize + EvenSize(jpeg.size());
  if (layout.total > kMaxTiffBytes) return std::nullopt;

  std::string out;
  try {
    out.reserve(static_cast<std::size_t>(layout.total));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  out += "II";
  PutU16(out, 42);
  PutU32(out, 8);
  AppendIfd(out, SensorIfdEntries(content, layout, withPreview), 0);
  if (withPreview) AppendIfd(out, PreviewIfdEntries(content, layout), 0);
  if (!content.previewAfterSensor) AppendPadded(out, jpeg);
  AppendSensorData(out, content);
  if (content.previewAfterSensor) AppendPadded(out, jpeg);
  if (out.size() != layout.total) return std::nullopt;  // the layout and the writing disagree: a fault here
  return out;
}

bool WriteDngFile(const std::string& path, const DngContent& content) {
  const auto bytes = MakeDngBytes(content);
  if (!bytes) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

}  // namespace lumivane::testing
