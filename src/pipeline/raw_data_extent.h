#pragma once
// Whether the RAW pixel data that a camera file's own tables declare lies wholly inside the file. The camera
// decoder fills data missing at the end of some files with black and reports no error, so the tables are asked
// first: TIFF-based files (DNG, KDC, NEF, ARW, ...) name the strips or tiles of each image, CRW files (CIFF) keep
// the data in one record of their heap.
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <utility>

namespace lumivane {

// Read access to a file's bytes.
class FileBytes {
 public:
  // Fills `into` from `offset`; the reader is only asked for bytes inside the size.
  using Reader = std::function<bool(std::uint64_t offset, std::span<unsigned char> into)>;
  FileBytes(std::uint64_t size, Reader reader) : size_(size), reader_(std::move(reader)) {}

  std::uint64_t Size() const { return size_; }
  // False when a byte lies past the end or cannot be read. Nothing to read needs no reader (an empty record table).
  bool Read(std::uint64_t offset, std::span<unsigned char> into) const {
    return offset <= size_ && into.size() <= size_ - offset && (into.empty() || reader_(offset, into));
  }

 private:
  std::uint64_t size_;
  Reader reader_;
};

// Bytes held in memory (they must outlive the result).
FileBytes BytesInMemory(std::string_view bytes);

enum class RawDataState : std::int8_t {
  kUnknown,  // the tables declare no extent that can be read here
  kWhole,    // every declared byte lies inside the file
  kCut,      // declared bytes, or the table that declares them, lie past the end of the file
};

// A TIFF-based file (the IFD chain from the header and the SubIFDs below it): the state of the image whose first
// strip or tile starts at dataOffset, or whose table of strip or tile offsets lies there (where the camera decoder
// reads from). kUnknown when the file is no TIFF or none of its images matches.
RawDataState TiffRawDataState(const FileBytes& file, std::uint64_t dataOffset);

// A CRW file: the state of its RAW data record. kCut also when the heap's record tables cannot be read or hold no
// RAW data (the tables end the file, so a cut file loses them). kUnknown when the file is no CIFF.
RawDataState CiffRawDataState(const FileBytes& file);

}  // namespace lumivane
