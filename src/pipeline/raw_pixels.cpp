#include "pipeline/raw_pixels.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "platform/available_memory.h"

namespace lumivane {

namespace {

struct RawPixelMode {
  int mode;
  unsigned bitsPerPixel;
  unsigned redMask, greenMask, blueMask;
};

constexpr RawPixelMode kRawPixelModes[] = {
    {kRawPixels8, 8, 0xFF0000, 0x00FF00, 0x0000FF},
    {kRawPixels16, 16, 0xF800, 0x07E0, 0x001F},
};

// FreeImage works out a row's bits, and some image sizes, in 32-bit integers.
constexpr std::uint64_t kMaxRowBits = INT32_MAX;
constexpr std::uint64_t kMaxImageBytes = INT32_MAX;

const RawPixelMode* FindMode(int mode) {
  for (const auto& row : kRawPixelModes) {
    if (row.mode == mode) return &row;
  }
  return nullptr;
}

struct FdCloser {
  int fd;
  ~FdCloser() { close(fd); }
};

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

// Reads up to size bytes from offset. A file that got shorter since it was measured leaves the rest untouched.
bool ReadAt(int fd, std::int64_t offset, BYTE* buffer, std::uint64_t size) {
  std::uint64_t done = 0;
  while (done < size) {
    const std::uint64_t chunk = std::min<std::uint64_t>(size - done, 1U << 30);
    const ssize_t n = pread(fd, buffer + done, chunk, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace

std::optional<RawPixelLayout> PlanRawPixelData(std::int64_t fileSize, int mode, const RawPixelGeometry& geometry,
                                               std::uint64_t memoryLimit) {
  const RawPixelMode* pixelMode = FindMode(mode);
  if (pixelMode == nullptr) return std::nullopt;
  if (geometry.headerSize < 0 || geometry.width < 0 || geometry.height < 0) return std::nullopt;
  if (fileSize <= geometry.headerSize) return std::nullopt;
  const std::int64_t dataSize = fileSize - geometry.headerSize;
  const std::int64_t bytesPerPixel = pixelMode->bitsPerPixel / 8;

  std::int64_t width = geometry.width;
  std::int64_t height = geometry.height;
  if (width == 0 || height == 0) {
    const double side = std::round(std::sqrt(static_cast<double>(dataSize) / static_cast<double>(bytesPerPixel)));
    if (!(side >= 1.0 && side <= static_cast<double>(INT32_MAX))) return std::nullopt;
    width = height = static_cast<std::int64_t>(side);
  }
  // Both sides are below 2^31 and a pixel has at most 16 bits, so none of these products can overflow 64 bits.
  if (static_cast<std::uint64_t>(width) * pixelMode->bitsPerPixel > kMaxRowBits) return std::nullopt;
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(width * bytesPerPixel);
  const std::uint64_t imageBytes = rowBytes * static_cast<std::uint64_t>(height);
  if (imageBytes > kMaxImageBytes) return std::nullopt;
  // The data buffer and the bitmap (rows padded to 4 bytes) exist together while the bitmap is made.
  const std::uint64_t bitmapBytes = ((rowBytes + 3) & ~std::uint64_t{3}) * static_cast<std::uint64_t>(height);
  if (imageBytes + bitmapBytes > memoryLimit) return std::nullopt;

  RawPixelLayout layout;
  layout.width = static_cast<std::int32_t>(width);
  layout.height = static_cast<std::int32_t>(height);
  layout.bitsPerPixel = pixelMode->bitsPerPixel;
  layout.rowBytes = static_cast<std::int32_t>(rowBytes);
  layout.imageBytes = imageBytes;
  layout.bytesToRead = std::min(static_cast<std::uint64_t>(dataSize), imageBytes);
  return layout;
}

FIBITMAP* LoadRawPixelData(const std::string& path, int mode, const RawPixelGeometry& geometry) {
  const RawPixelMode* pixelMode = FindMode(mode);
  if (pixelMode == nullptr) return nullptr;
  // Non-blocking so that a FIFO under a RAW name cannot stall the open; regular files are unaffected.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  const FdCloser closer{fd};
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;

  const auto layout = PlanRawPixelData(status.st_size, mode, geometry, AvailableMemoryBytes());
  if (!layout) return nullptr;
  // Zero-filled, so rows the file does not reach come out black.
  const std::unique_ptr<BYTE, FreeDeleter> buffer(static_cast<BYTE*>(std::calloc(layout->imageBytes, 1)));
  if (!buffer) return nullptr;
  if (!ReadAt(fd, geometry.headerSize, buffer.get(), layout->bytesToRead)) return nullptr;
  return FreeImage_ConvertFromRawBits(buffer.get(), layout->width, layout->height, layout->rowBytes,
                                      layout->bitsPerPixel, pixelMode->redMask, pixelMode->greenMask,
                                      pixelMode->blueMask, TRUE);
}

}  // namespace lumivane
