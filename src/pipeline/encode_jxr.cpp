#include "pipeline/encode_jxr.h"

#include <cstring>
#include <new>

#ifdef LUMIVANE_HAVE_JXR
// jxrlib's headers are C without linkage guards and define min and max as macros. They come before FreeImage.h,
// whose _WINDOWS_ would otherwise change the layout of jxrlib's GUID.
extern "C" {
#include <JXRGlue.h>
}
#undef min
#undef max
static_assert(sizeof(PKPixelFormatGUID) == 16, "jxrlib's GUID must keep the library's layout");
#endif

#include <FreeImage.h>

namespace lumivane {

#ifdef LUMIVANE_HAVE_JXR
namespace {

struct PixelFormatRow {
  FREE_IMAGE_TYPE type;
  unsigned bitsPerPixel;
  const PKPixelFormatGUID* format;
  bool hasAlpha;
};

// 16-bit images are chosen by their masks in PixelFormatOf.
const PixelFormatRow kPixelFormats[] = {
    {FIT_BITMAP, 1, &GUID_PKPixelFormatBlackWhite, false}, {FIT_BITMAP, 8, &GUID_PKPixelFormat8bppGray, false},
    {FIT_BITMAP, 24, &GUID_PKPixelFormat24bppBGR, false},  {FIT_BITMAP, 32, &GUID_PKPixelFormat32bppBGRA, true},
    {FIT_RGB16, 48, &GUID_PKPixelFormat48bppRGB, false},   {FIT_RGBF, 96, &GUID_PKPixelFormat96bppRGBFloat, false},
};

const PixelFormatRow* PixelFormatOf(FIBITMAP* image) {
  static const PixelFormatRow k565 = {FIT_BITMAP, 16, &GUID_PKPixelFormat16bppRGB565, false};
  static const PixelFormatRow k555 = {FIT_BITMAP, 16, &GUID_PKPixelFormat16bppRGB555, false};
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(image);
  const unsigned bitsPerPixel = FreeImage_GetBPP(image);
  if (type == FIT_BITMAP && bitsPerPixel == 16) {
    return FreeImage_GetGreenMask(image) == FI16_565_GREEN_MASK ? &k565 : &k555;
  }
  for (const PixelFormatRow& row : kPixelFormats) {
    if (row.type == type && row.bitsPerPixel == bitsPerPixel) return &row;
  }
  return nullptr;
}

// JPEG XR's 1- and 8-bit formats are greys from black up; other palettes are turned into such greys first.
// Returns the image to encode: the one given, or a new one that the caller unloads.
FIBITMAP* AsBlackToWhite(FIBITMAP* image, bool& made) {
  made = false;
  const unsigned bitsPerPixel = FreeImage_GetBPP(image);
  if (FreeImage_GetImageType(image) != FIT_BITMAP || (bitsPerPixel != 1 && bitsPerPixel != 8) ||
      FreeImage_GetColorType(image) == FIC_MINISBLACK) {
    return image;
  }
  made = true;
  FIBITMAP* grey = FreeImage_ConvertToGreyscale(image);
  if (grey == nullptr || bitsPerPixel == 8) return grey;
  FIBITMAP* blackWhite = FreeImage_Threshold(grey, 128);
  FreeImage_Unload(grey);
  return blackWhite;
}

// A jxrlib output stream that collects the bytes in memory.
struct MemorySink {
  std::vector<unsigned char> bytes;
  std::size_t position = 0;
};

MemorySink* SinkOf(WMPStream* stream) { return static_cast<MemorySink*>(stream->state.pvObj); }

ERR CloseSink(WMPStream** stream) {
  *stream = nullptr;  // the stream object belongs to EncodeJpegXr
  return WMP_errSuccess;
}

Bool SinkAtEnd(WMPStream* stream) { return SinkOf(stream)->position >= SinkOf(stream)->bytes.size(); }

ERR ReadSink(WMPStream* stream, void* data, size_t size) {
  MemorySink* sink = SinkOf(stream);
  if (sink->position + size > sink->bytes.size()) return WMP_errFileIO;
  if (size > 0) std::memcpy(data, sink->bytes.data() + sink->position, size);
  sink->position += size;
  return WMP_errSuccess;
}

ERR WriteSink(WMPStream* stream, const void* data, size_t size) {
  MemorySink* sink = SinkOf(stream);
  try {
    if (sink->position + size > sink->bytes.size()) sink->bytes.resize(sink->position + size);
  } catch (const std::bad_alloc&) {
    return WMP_errOutOfMemory;
  }
  if (size > 0) std::memcpy(sink->bytes.data() + sink->position, data, size);
  sink->position += size;
  return WMP_errSuccess;
}

ERR SetSinkPosition(WMPStream* stream, size_t position) {
  SinkOf(stream)->position = position;
  return WMP_errSuccess;
}

ERR GetSinkPosition(WMPStream* stream, size_t* position) {
  *position = SinkOf(stream)->position;
  return WMP_errSuccess;
}

// Quantisation index: 1 is lossless; qualities 99..1 map linearly onto 3..255.
U8 QuantisationIndex(int saveFlags) {
  if (saveFlags >= kJpegXrLossless) return 1;
  const int quality = saveFlags <= 0 ? kJpegXrDefaultQuality : saveFlags;
  return static_cast<U8>(1 + (100 - quality) * 254 / 99);
}

CWMIStrCodecParam CodecParameters(const PixelFormatRow& row, int saveFlags) {
  CWMIStrCodecParam parameters;
  std::memset(&parameters, 0, sizeof(parameters));
  PKPixelInfo info{};
  info.pGUIDPixFmt = row.format;
  PixelFormatLookup(&info, LOOKUP_FORWARD);
  parameters.cfColorFormat = info.cfColorFormat == Y_ONLY ? Y_ONLY : YUV_444;
  parameters.bdBitDepth = BD_LONG;
  parameters.bfBitstreamFormat = FREQUENCY;
  parameters.bProgressiveMode = TRUE;
  parameters.olOverlap = OL_ONE;
  parameters.sbSubband = SB_ALL;
  parameters.uAlphaMode = row.hasAlpha ? 2 : 0;  // 2: alpha interleaved with the colours
  // Black and white pixels are only ever coded losslessly.
  const U8 index = row.bitsPerPixel == 1 ? 1 : QuantisationIndex(saveFlags);
  parameters.uiDefaultQPIndex = index;
  parameters.uiDefaultQPIndexAlpha = index;
  return parameters;
}

// FreeImage keeps rows bottom-up; JPEG XR wants them from the top.
std::vector<unsigned char> TopDownRows(FIBITMAP* image) {
  const unsigned height = FreeImage_GetHeight(image);
  const std::size_t line = FreeImage_GetLine(image);
  std::vector<unsigned char> rows(line * height);
  for (unsigned y = 0; y < height; ++y) {
    std::memcpy(rows.data() + line * y, FreeImage_GetScanLine(image, static_cast<int>(height - 1 - y)), line);
  }
  return rows;
}

bool Encode(FIBITMAP* image, const PixelFormatRow& row, int saveFlags, MemorySink& sink) {
  WMPStream stream;
  std::memset(&stream, 0, sizeof(stream));
  stream.state.pvObj = &sink;
  stream.fMem = FALSE;  // not one of jxrlib's own memory streams, which keep their buffer in state.buf
  stream.Close = CloseSink;
  stream.EOS = SinkAtEnd;
  stream.Read = ReadSink;
  stream.Write = WriteSink;
  stream.SetPos = SetSinkPosition;
  stream.GetPos = GetSinkPosition;

  PKImageEncode* encoder = nullptr;
  if (Failed(PKImageEncode_Create_WMP(&encoder))) return false;
  CWMIStrCodecParam parameters = CodecParameters(row, saveFlags);
  std::vector<unsigned char> rows = TopDownRows(image);
  const double metresPerInch = 0.0254;
  const double resolutionX = FreeImage_GetDotsPerMeterX(image) * metresPerInch;
  const double resolutionY = FreeImage_GetDotsPerMeterY(image) * metresPerInch;
  bool ok = !Failed(encoder->Initialize(encoder, &stream, &parameters, sizeof(parameters))) &&
            !Failed(encoder->SetPixelFormat(encoder, *row.format)) &&
            !Failed(encoder->SetSize(encoder, static_cast<I32>(FreeImage_GetWidth(image)),
                                     static_cast<I32>(FreeImage_GetHeight(image))));
  if (ok && resolutionX > 0 && resolutionY > 0) {
    ok = !Failed(encoder->SetResolution(encoder, static_cast<Float>(resolutionX), static_cast<Float>(resolutionY)));
  }
  ok = ok && !Failed(encoder->WritePixels(encoder, FreeImage_GetHeight(image), rows.data(),
                                          static_cast<U32>(FreeImage_GetLine(image))));
  encoder->Release(&encoder);
  return ok && !sink.bytes.empty();
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodeJpegXr(FIBITMAP* image, int saveFlags) {
  if (image == nullptr || FreeImage_GetWidth(image) == 0 || FreeImage_GetHeight(image) == 0) return std::nullopt;
  bool made = false;
  FIBITMAP* source = AsBlackToWhite(image, made);
  const PixelFormatRow* row = source == nullptr ? nullptr : PixelFormatOf(source);
  MemorySink sink;
  const bool ok = row != nullptr && Encode(source, *row, saveFlags, sink);
  if (made && source != nullptr) FreeImage_Unload(source);
  if (!ok) return std::nullopt;
  return std::move(sink.bytes);
}

#else

std::optional<std::vector<unsigned char>> EncodeJpegXr(FIBITMAP*, int) { return std::nullopt; }

#endif

}  // namespace lumivane
