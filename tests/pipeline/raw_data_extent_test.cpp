// The extent of the RAW data as a file's own tables declare it, on files made here: our DNG writer's layout, and
// small hand-made tables for what it does not write (tiles, big-endian order, CRW heaps).
#include "pipeline/raw_data_extent.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "dng/dng_writer.h"

namespace lumivane::testing {
namespace {

constexpr RawDataState kWhole = RawDataState::kWhole, kCut = RawDataState::kCut, kUnknown = RawDataState::kUnknown;

// Appends {value, bytes} fields.
void Put(std::string& out, std::initializer_list<std::pair<std::uint32_t, int>> fields, bool bigEndian) {
  for (const auto [value, bytes] : fields) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
  }
}

RawDataState TiffState(const std::string& bytes, std::uint64_t keep, std::uint64_t dataOffset) {
  return TiffRawDataState(BytesInMemory(std::string_view(bytes).substr(0, keep)), dataOffset);
}

TEST(TiffRawDataState, FindsTheImageTheDecoderReadsAndSeesEveryCut) {
  const std::string dng = MakeDngBytes({.previewWidth = 32, .previewHeight = 24}).value();
  const std::uint64_t sensor = dng.size() - 64 * 48 * 2;   // the strip ends the file
  const std::uint64_t preview = dng.find("\xFF\xD8\xFF");  // in a SubIFD, before the strip
  EXPECT_EQ(TiffState(dng, dng.size(), sensor), kWhole);
  EXPECT_EQ(TiffState(dng, dng.size(), sensor + 2), kUnknown);  // no image starts there
  EXPECT_EQ(TiffState(dng, dng.size() - 1, sensor), kCut);
  EXPECT_EQ(TiffState(dng, sensor, preview), kWhole);
  EXPECT_EQ(TiffState(dng, preview + 10, preview), kCut);

  // Big-endian: an IFD of TileOffsets and TileByteCounts (four LONGs each), four tiles of 100 bytes from byte 38,
  // then the two tables; the decoder names the table of offsets.
  constexpr std::uint32_t kTiles = 38, kOffsets = kTiles + 400, kCounts = kOffsets + 16;
  std::string tiled = "MM";
  Put(tiled, {{42, 2}, {8, 4}, {2, 2}, {324, 2}, {4, 2}, {4, 4}, {kOffsets, 4}, {325, 2}, {4, 2}, {4, 4}}, true);
  Put(tiled, {{kCounts, 4}, {0, 4}}, true);
  tiled.append(400, 't');
  Put(tiled, {{kTiles, 4}, {kTiles + 100, 4}, {kTiles + 200, 4}, {kTiles + 300, 4}}, true);
  Put(tiled, {{100, 4}, {100, 4}, {100, 4}, {100, 4}}, true);
  EXPECT_EQ(TiffState(tiled, tiled.size(), kOffsets), kWhole);
  EXPECT_EQ(TiffState(tiled, tiled.size(), kTiles), kWhole);
  EXPECT_EQ(TiffState(tiled, kCounts + 8, kOffsets), kCut);  // the byte count table itself is cut
  EXPECT_EQ(TiffState("not a TIFF file", 15, 0), kUnknown);
}

// A CRW file: its header, then a heap of 100 bytes of data and a record table of one record, whose offset ends the
// file.
std::string Crw(std::uint16_t recordType, std::uint32_t declaredSize) {
  std::string out = "II";
  Put(out, {{26, 4}}, false);
  out += "HEAPCCDR" + std::string(12, '\0') + std::string(100, 'r');
  Put(out, {{1, 2}, {recordType, 2}, {declaredSize, 4}, {0, 4}, {100, 4}}, false);
  return out;
}

TEST(CiffRawDataState, NeedsTheRawDataRecordWithinTheFile) {
  EXPECT_EQ(CiffRawDataState(BytesInMemory(Crw(0x2005, 100))), kWhole);
  EXPECT_EQ(CiffRawDataState(BytesInMemory(Crw(0x2005, 200))), kCut);                // reaches past the end
  EXPECT_EQ(CiffRawDataState(BytesInMemory(Crw(0x2007, 100))), kCut);                // no RAW data record
  EXPECT_EQ(CiffRawDataState(BytesInMemory(Crw(0x2005, 100).substr(0, 80))), kCut);  // the table is gone
  EXPECT_EQ(CiffRawDataState(BytesInMemory(std::string(30, 'I'))), kUnknown);
}

}  // namespace
}  // namespace lumivane::testing
