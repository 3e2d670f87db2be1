#include "pipeline/raw_data_extent.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

namespace lumivane {

namespace {

// ---- TIFF ----

enum TiffTag : std::uint16_t {
  kStripOffsets = 273,
  kStripByteCounts = 279,
  kTileOffsets = 324,
  kTileByteCounts = 325,
  kSubIfds = 330,
};
enum TiffType : std::uint16_t { kShort = 3, kLong = 4, kIfd = 13 };

// TIFF (42) and the variants camera makers gave their own magic numbers (Olympus "RO" and "RS", Panasonic 0x55).
constexpr std::uint16_t kTiffMagics[] = {42, 0x4F52, 0x5352, 0x55};

// Bounds of the walk, far above what cameras write; they stop loops and endless nesting in damaged tables.
constexpr int kMaxIfdDepth = 4;
constexpr int kMaxChainLength = 64;
constexpr std::uint32_t kMaxSubIfds = 16;
constexpr std::size_t kMaxIfds = 1024;

constexpr std::size_t kIfdEntryBytes = 12;

unsigned TypeBytes(std::uint16_t type) {
  switch (type) {
    case 3:
    case 8: return 2;  // SHORT, SSHORT
    case 4:
    case 9:
    case 11:
    case 13: return 4;  // LONG, SLONG, FLOAT, IFD
    case 5:
    case 10:
    case 12: return 8;  // RATIONAL, SRATIONAL, DOUBLE
    default: return 1;
  }
}

// A field: its type, number of values and where the values start in the file.
struct Field {
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint64_t valuesAt = 0;
};

// One image of the file: the offsets and byte counts of its strips or tiles.
struct ImageData {
  Field offsets;
  Field byteCounts;
};

class TiffReader {
 public:
  TiffReader(const FileBytes& file, bool bigEndian) : file_(file), bigEndian_(bigEndian) {}

  std::uint16_t U16(const unsigned char* p) const {
    return static_cast<std::uint16_t>(bigEndian_ ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]));
  }
  std::uint32_t U32(const unsigned char* p) const {
    const std::uint32_t high = U16(bigEndian_ ? p : p + 2), low = U16(bigEndian_ ? p + 2 : p);
    return high << 16 | low;
  }

  // The first `most` values of a SHORT, LONG or IFD field; none for other types and when a value lies past the end
  // of the file.
  std::optional<std::vector<std::uint64_t>> Values(const Field& field, std::uint32_t most) const {
    if (!HoldsOffsets(field)) return std::nullopt;
    const std::uint32_t count = std::min(field.count, most);
    const unsigned size = TypeBytes(field.type);
    if (static_cast<std::uint64_t>(count) * size > file_.Size()) return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(count) * size);
    if (!file_.Read(field.valuesAt, bytes)) return std::nullopt;
    std::vector<std::uint64_t> values(count);
    for (std::uint32_t i = 0; i < count; ++i) values[i] = size == 2 ? U16(&bytes[2 * i]) : U32(&bytes[4 * i]);
    return values;
  }

  // Collects the images of the IFD chain that starts at `ifd` and of every SubIFD below it.
  void Walk(std::uint64_t ifd, int depth, std::set<std::uint64_t>& seen, std::vector<ImageData>& images) const {
    for (int link = 0; ifd != 0 && link < kMaxChainLength && depth <= kMaxIfdDepth; ++link) {
      if (seen.size() >= kMaxIfds || !seen.insert(ifd).second) return;  // too many, or a loop
      std::array<unsigned char, 2> countBytes{};
      if (!file_.Read(ifd, countBytes)) return;
      const std::uint16_t count = U16(countBytes.data());
      std::vector<unsigned char> entries(kIfdEntryBytes * count + 4);
      if (!file_.Read(ifd + 2, entries)) return;
      ImageData image;
      std::vector<std::uint64_t> subIfds;
      for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = &entries[kIfdEntryBytes * i];
        Field field{U16(entry + 2), U32(entry + 4), 0};
        const bool inline4 = static_cast<std::uint64_t>(field.count) * TypeBytes(field.type) <= 4;
        field.valuesAt = inline4 ? ifd + 2 + kIfdEntryBytes * i + 8 : U32(entry + 8);
        switch (U16(entry)) {
          case kStripOffsets:
          case kTileOffsets: image.offsets = field; break;
          case kStripByteCounts:
          case kTileByteCounts: image.byteCounts = field; break;
          case kSubIfds: subIfds = Values(field, kMaxSubIfds).value_or(subIfds); break;
          default: break;
        }
      }
      if (image.offsets.count > 0 && image.byteCounts.count > 0) images.push_back(image);
      for (const std::uint64_t sub : subIfds) Walk(sub, depth + 1, seen, images);
      ifd = U32(&entries[kIfdEntryBytes * count]);
    }
  }

  // Whether every strip or tile of the image lies inside the file.
  RawDataState StateOf(const ImageData& image) const {
    if (!HoldsOffsets(image.offsets) || !HoldsOffsets(image.byteCounts)) return RawDataState::kUnknown;
    const std::uint32_t count = std::min(image.offsets.count, image.byteCounts.count);
    const auto offsets = Values(image.offsets, count);
    const auto byteCounts = Values(image.byteCounts, count);
    if (!offsets || !byteCounts) return RawDataState::kCut;  // the tables themselves are cut
    for (std::uint32_t i = 0; i < count; ++i) {
      if ((*offsets)[i] + (*byteCounts)[i] > file_.Size()) return RawDataState::kCut;
    }
    return RawDataState::kWhole;
  }

  // Whether the image's data, or its table of offsets, starts at dataOffset.
  bool StartsAt(const ImageData& image, std::uint64_t dataOffset) const {
    if (image.offsets.valuesAt == dataOffset) return true;
    const auto first = Values(image.offsets, 1);
    return first && !first->empty() && first->front() == dataOffset;
  }

 private:
  static bool HoldsOffsets(const Field& field) {
    return field.type == kShort || field.type == kLong || field.type == kIfd;
  }

  const FileBytes& file_;
  bool bigEndian_;
};

// ---- CIFF ----

// A heap ends with the offset of its record table; a record is 10 bytes: type, size and offset in the heap.
constexpr std::uint16_t kCiffRawData = 0x2005;
constexpr std::size_t kCiffRecordBytes = 10;
constexpr int kMaxCiffDepth = 6;
constexpr int kMaxCiffHeaps = 256;
constexpr std::string_view kCiffSignature = "HEAPCCDR";

std::uint32_t LittleU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t LittleU16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

struct CiffSearch {
  std::optional<std::uint64_t> rawDataEnd;
  int heapsLeft = kMaxCiffHeaps;  // heaps may overlap in a damaged file: each visit counts
};

// Looks for the RAW data record in the heap [start, start + length) and the heaps inside it.
void SearchCiffHeap(const FileBytes& file, std::uint64_t start, std::uint64_t length, int depth, CiffSearch& search) {
  if (depth > kMaxCiffDepth || search.heapsLeft-- <= 0 || length < 4) return;
  std::array<unsigned char, 4> tableAt{};
  std::array<unsigned char, 2> countBytes{};
  if (!file.Read(start + length - 4, tableAt)) return;
  const std::uint64_t table = LittleU32(tableAt.data());
  if (table + 2 > length || !file.Read(start + table, countBytes)) return;
  std::vector<unsigned char> records(kCiffRecordBytes * LittleU16(countBytes.data()));
  if (table + 2 + records.size() > length || !file.Read(start + table + 2, records)) return;
  for (std::size_t at = 0; at < records.size() && !search.rawDataEnd; at += kCiffRecordBytes) {
    const std::uint16_t type = LittleU16(&records[at]);
    if ((type >> 14) != 0) continue;  // the value sits in the record itself
    const std::uint64_t begin = start + LittleU32(&records[at + 6]);
    const std::uint64_t end = begin + LittleU32(&records[at + 2]);
    const unsigned storage = (type >> 8) & 0x38;
    if ((type & 0x3FFF) == kCiffRawData) {
      search.rawDataEnd = end;
    } else if ((storage == 0x28 || storage == 0x30) && end <= start + length) {
      SearchCiffHeap(file, begin, end - begin, depth + 1, search);  // a heap of records inside this one
    }
  }
}

}  // namespace

FileBytes BytesInMemory(std::string_view bytes) {
  return FileBytes(bytes.size(), [bytes](std::uint64_t offset, std::span<unsigned char> into) {
    std::memcpy(into.data(), bytes.data() + offset, into.size());
    return true;
  });
}

RawDataState TiffRawDataState(const FileBytes& file, std::uint64_t dataOffset) {
  std::array<unsigned char, 8> header{};
  if (!file.Read(0, header)) return RawDataState::kUnknown;
  const bool little = header[0] == 'I' && header[1] == 'I';
  if (!little && !(header[0] == 'M' && header[1] == 'M')) return RawDataState::kUnknown;
  const TiffReader reader(file, !little);
  if (std::find(std::begin(kTiffMagics), std::end(kTiffMagics), reader.U16(&header[2])) == std::end(kTiffMagics)) {
    return RawDataState::kUnknown;
  }
  std::set<std::uint64_t> seen;
  std::vector<ImageData> images;
  reader.Walk(reader.U32(&header[4]), 0, seen, images);
  for (const ImageData& image : images) {
    if (reader.StartsAt(image, dataOffset)) return reader.StateOf(image);
  }
  return RawDataState::kUnknown;
}

RawDataState CiffRawDataState(const FileBytes& file) {
  std::array<unsigned char, 14> header{};
  if (!file.Read(0, header) || header[0] != 'I' || header[1] != 'I' ||
      std::string_view(reinterpret_cast<const char*>(&header[6]), kCiffSignature.size()) != kCiffSignature) {
    return RawDataState::kUnknown;
  }
  const std::uint64_t heapStart = LittleU32(&header[2]);
  if (heapStart > file.Size()) return RawDataState::kCut;
  CiffSearch search;
  // The main heap runs from the header to the end of the file.
  SearchCiffHeap(file, heapStart, file.Size() - heapStart, 0, search);
  if (!search.rawDataEnd) return RawDataState::kCut;
  return *search.rawDataEnd <= file.Size() ? RawDataState::kWhole : RawDataState::kCut;
}

}  // namespace lumivane
