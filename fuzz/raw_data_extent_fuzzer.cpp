// The extent of the RAW data that a camera file's tables declare, read from any bytes: the first four bytes are
// where the decoder would read (little-endian), the rest the file.
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "pipeline/raw_data_extent.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t dataOffset = 0;
  for (int i = 3; i >= 0; --i) dataOffset = dataOffset << 8 | data[i];
  const std::string_view bytes = fuzzing::AsText(data + 4, size - 4);
  const RawDataState tiff = TiffRawDataState(BytesInMemory(bytes), dataOffset);
  Require(TiffRawDataState(BytesInMemory(bytes), dataOffset) == tiff, "the same bytes give the same state");
  Require(tiff != RawDataState::kWhole || dataOffset <= bytes.size(), "whole data starts inside the file");
  const RawDataState ciff = CiffRawDataState(BytesInMemory(bytes));
  Require(ciff == RawDataState::kUnknown || (bytes.size() >= 14 && bytes.substr(6, 8) == "HEAPCCDR"),
          "only a CIFF file has a CIFF state");
  return 0;
}
