#include "pipeline/encode_devil.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>

#include "pipeline/encoder_setup.h"

namespace lumivane {
namespace {

// DevIL 1.7.8 cannot encode pcx into memory (ilSaveL and ilSaveF refuse IL_PCX), ilSaveL silently truncates when
// its buffer is short, and its dds size query leaves the last mipmap bound. So every type is saved with ilSave
// through write callbacks that collect the bytes here.
struct DevilSink {
  std::vector<unsigned char> bytes;
  std::size_t position = 0;
  bool failed = false;
};

// DevIL's callbacks carry no context but the handle returned on opening; the sink being filled is set under
// DevilMutex for the length of one save.
DevilSink* gOpenSink = nullptr;

std::mutex& DevilMutex() {
  static std::mutex mutex;
  return mutex;
}

ILHANDLE ILAPIENTRY OpenSink(ILconst_string) { return gOpenSink; }

void ILAPIENTRY CloseSink(ILHANDLE) {}

ILint ILAPIENTRY WriteToSink(const void* data, ILuint size, ILuint count, ILHANDLE handle) {
  auto* sink = static_cast<DevilSink*>(handle);
  const std::size_t length = static_cast<std::size_t>(size) * count;
  try {
    if (sink->position + length > sink->bytes.size()) sink->bytes.resize(sink->position + length);
  } catch (const std::bad_alloc&) {
    sink->failed = true;
    return 0;
  }
  if (length > 0) std::memcpy(sink->bytes.data() + sink->position, data, length);
  sink->position += length;
  return static_cast<ILint>(count);
}

ILint ILAPIENTRY PutToSink(ILubyte byte, ILHANDLE handle) { return WriteToSink(&byte, 1, 1, handle) == 1 ? byte : -1; }

ILint ILAPIENTRY SeekInSink(ILHANDLE handle, ILint offset, ILint origin) {
  auto* sink = static_cast<DevilSink*>(handle);
  std::int64_t base = 0;
  if (origin == IL_SEEK_CUR) base = static_cast<std::int64_t>(sink->position);
  if (origin == IL_SEEK_END) base = static_cast<std::int64_t>(sink->bytes.size());
  const std::int64_t target = base + offset;
  if (target < 0) return -1;
  sink->position = static_cast<std::size_t>(target);
  return 0;
}

ILint ILAPIENTRY TellInSink(ILHANDLE handle) { return static_cast<ILint>(static_cast<DevilSink*>(handle)->position); }

// The image's rows bottom-up, tightly packed, as DevIL's lower-left origin expects.
std::unique_ptr<unsigned char[]> RawBottomUpBits(FIBITMAP* image, unsigned bytesPerPixel) {
  const std::size_t rowLength = static_cast<std::size_t>(FreeImage_GetWidth(image)) * bytesPerPixel;
  const std::size_t total = rowLength * FreeImage_GetHeight(image);
  if (total == 0 || total > std::numeric_limits<ILuint>::max()) return nullptr;
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[total]);
  if (buffer == nullptr) return nullptr;
  FreeImage_ConvertToRawBits(buffer.get(), image, static_cast<int>(rowLength), FreeImage_GetBPP(image), 0xFF0000,
                             0x00FF00, 0x0000FF, FALSE);
  return buffer;
}

// Saves the bound DevIL image of type ilImageType into sink.
bool SaveBoundImage(int ilImageType, DevilSink& sink) {
  gOpenSink = &sink;
  ilEnable(IL_FILE_OVERWRITE);
  ilSetWrite(OpenSink, CloseSink, PutToSink, SeekInSink, TellInSink, WriteToSink);
  const bool saved = ilSave(static_cast<ILenum>(ilImageType), "lumivane-memory") != IL_FALSE;
  ilResetWrite();
  gOpenSink = nullptr;
  return saved && !sink.failed && !sink.bytes.empty();
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodeWithDevil(FIBITMAP* image, int ilImageType, bool withMipmaps) {
  if (image == nullptr || FreeImage_GetImageType(image) != FIT_BITMAP) return std::nullopt;
  const unsigned bitsPerPixel = FreeImage_GetBPP(image);
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;
  const unsigned bytesPerPixel = bitsPerPixel / 8;
  const ILenum pixelFormat = bitsPerPixel == 32 ? IL_BGRA : IL_BGR;
  const std::unique_ptr<unsigned char[]> pixels = RawBottomUpBits(image, bytesPerPixel);
  if (pixels == nullptr) return std::nullopt;

  InitialiseEncoders();
  const std::lock_guard<std::mutex> lock(DevilMutex());
  ILuint imageId = 0;
  ilGenImages(1, &imageId);
  ilBindImage(imageId);
  const ILint depth = ilGetInteger(IL_IMAGE_DEPTH);
  DevilSink sink;
  bool ok = ilTexImage(FreeImage_GetWidth(image), FreeImage_GetHeight(image), static_cast<ILuint>(depth),
                       static_cast<ILubyte>(bytesPerPixel), pixelFormat, IL_UNSIGNED_BYTE, pixels.get()) != IL_FALSE;
  if (ok && withMipmaps) ok = iluBuildMipmaps() != IL_FALSE;
  ok = ok && SaveBoundImage(ilImageType, sink);
  ilDeleteImages(1, &imageId);
  // DevIL keeps a stack of errors; empty it so that the next save starts clean.
  while (ilGetError() != IL_NO_ERROR) continue;
  if (!ok) return std::nullopt;
  return std::move(sink.bytes);
}

}  // namespace lumivane
