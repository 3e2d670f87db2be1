#include "pipeline/raw_file_facts.h"

#include <fcntl.h>
#include <libraw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace lumivane {

namespace {

// A file opened for reading, closed on every path.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // The file's bytes as they stand; an empty file when it cannot be opened.
  FileBytes Bytes() const {
    struct stat status {};
    const bool known = fd_ >= 0 && ::fstat(fd_, &status) == 0 && status.st_size >= 0;
    const int fd = fd_;
    return FileBytes(known ? static_cast<std::uint64_t>(status.st_size) : 0, [fd](std::uint64_t offset,
                                                                                  std::span<unsigned char> into) {
      std::size_t done = 0;
      while (done < into.size()) {
        const ssize_t got = ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
      }
      return true;
    });
  }

 private:
  int fd_;
};

// The camera decoder with the file's header read (nothing is unpacked), or none when it refuses the file.
// half_size is set before the header is read, as the bitmap library sets it: some sizes depend on it.
std::unique_ptr<LibRaw> OpenHeader(const std::string& path, bool halfSize) {
  auto decoder = std::make_unique<LibRaw>();
  decoder->imgdata.params.half_size = halfSize ? 1 : 0;
  if (decoder->open_file(path.c_str()) != LIBRAW_SUCCESS) return nullptr;
  return decoder;
}

ImageSize DecodeSize(LibRaw& decoder) {
  if (decoder.adjust_sizes_info_only() != LIBRAW_SUCCESS) return {};
  return {decoder.imgdata.sizes.iwidth, decoder.imgdata.sizes.iheight};
}

PreviewState PreviewStateOf(LibRaw& decoder, std::uint64_t fileSize) {
  const auto offset = decoder.get_internal_data_pointer()->internal_data.toffset;
  const std::uint64_t length = decoder.imgdata.thumbnail.tlength;
  if (offset <= 0 || length == 0) return PreviewState::kNone;
  return static_cast<std::uint64_t>(offset) + length <= fileSize ? PreviewState::kWhole : PreviewState::kCut;
}

}  // namespace

RawFileFacts ReadRawFileFacts(const std::string& path, bool withHalfSize) {
  RawFileFacts facts;
  const ReadOnlyFile file(path);
  const FileBytes bytes = file.Bytes();
  const std::unique_ptr<LibRaw> decoder = OpenHeader(path, false);
  if (!decoder) {
    // The decoder refuses a CRW file whose record tables were cut away; the tables themselves show why.
    if (CiffRawDataState(bytes) == RawDataState::kCut) facts.rawData = RawDataState::kCut;
    return facts;
  }
  // Where the decoder will read the RAW data from; the file's tables say how far it reaches.
  const auto dataOffset = decoder->get_internal_data_pointer()->unpacker_data.data_offset;
  if (dataOffset > 0) facts.rawData = TiffRawDataState(bytes, static_cast<std::uint64_t>(dataOffset));
  if (facts.rawData == RawDataState::kUnknown) facts.rawData = CiffRawDataState(bytes);
  facts.preview = PreviewStateOf(*decoder, bytes.Size());
  facts.previewSize = {decoder->imgdata.thumbnail.twidth, decoder->imgdata.thumbnail.theight};
  facts.fullSize = DecodeSize(*decoder);
  if (withHalfSize) {
    if (const std::unique_ptr<LibRaw> half = OpenHeader(path, true)) facts.halfSize = DecodeSize(*half);
  }
  return facts;
}

}  // namespace lumivane
