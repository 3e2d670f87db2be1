#include "pipeline/jxr_reader.h"

#include <algorithm>
#include <cstring>

#ifdef LUMIVANE_HAVE_JXR
// jxrlib's C headers define min and max; no FreeImage.h in this file, as its _WINDOWS_ would change jxrlib's GUID.
extern "C" {
#include <JXRGlue.h>
}
#undef min
#undef max
static_assert(sizeof(PKPixelFormatGUID) == 16, "jxrlib's GUID must keep the library's layout");
#endif

namespace lumivane::testing {

#ifdef LUMIVANE_HAVE_JXR
namespace {

using Rgb = std::array<unsigned char, 3>;

bool SameFormat(const PKPixelFormatGUID& a, const PKPixelFormatGUID& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

Rgb From16Bits(unsigned value, bool is565) {
  const unsigned red = is565 ? value >> 11 : (value >> 10) & 31;
  const unsigned green = is565 ? (value >> 5) & 63 : (value >> 5) & 31;
  const unsigned blue = value & 31;
  return {ScaledToByte(red / 31.0), ScaledToByte(green / (is565 ? 63.0 : 31.0)), ScaledToByte(blue / 31.0)};
}

// One decoded pixel of a JPEG XR pixel format as 8-bit RGB.
Rgb PixelOf(const PKPixelFormatGUID& format, const unsigned char* row, unsigned x) {
  if (SameFormat(format, GUID_PKPixelFormatBlackWhite)) {
    const unsigned char value = ((row[x / 8] >> (7 - x % 8)) & 1) ? 255 : 0;
    return {value, value, value};
  }
  if (SameFormat(format, GUID_PKPixelFormat8bppGray)) return {row[x], row[x], row[x]};
  if (SameFormat(format, GUID_PKPixelFormat16bppRGB565) || SameFormat(format, GUID_PKPixelFormat16bppRGB555)) {
    return From16Bits(row[2 * x] | (row[2 * x + 1] << 8), SameFormat(format, GUID_PKPixelFormat16bppRGB565));
  }
  if (SameFormat(format, GUID_PKPixelFormat24bppBGR)) return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
  if (SameFormat(format, GUID_PKPixelFormat32bppBGRA)) return {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
  if (SameFormat(format, GUID_PKPixelFormat48bppRGB)) {
    unsigned short words[3];
    std::memcpy(words, row + 6 * x, sizeof(words));
    return {static_cast<unsigned char>(words[0] >> 8), static_cast<unsigned char>(words[1] >> 8),
            static_cast<unsigned char>(words[2] >> 8)};
  }
  if (SameFormat(format, GUID_PKPixelFormat96bppRGBFloat)) {
    float floats[3];
    std::memcpy(floats, row + 12 * x, sizeof(floats));
    return {ScaledToByte(floats[0]), ScaledToByte(floats[1]), ScaledToByte(floats[2])};
  }
  return {0, 0, 0};
}

void DecodeInto(PKImageDecode* decoder, DecodedImage& decoded) {
  decoder->WMP.wmiSCP.uAlphaMode = 2;  // decode the alpha channel of BGRA files too
  PKPixelFormatGUID format;
  I32 width = 0;
  I32 height = 0;
  decoder->GetPixelFormat(decoder, &format);
  decoder->GetSize(decoder, &width, &height);
  PKPixelInfo info{};
  info.pGUIDPixFmt = &format;
  PixelFormatLookup(&info, LOOKUP_FORWARD);
  const std::size_t stride = (static_cast<std::size_t>(width) * info.cbitUnit + 7) / 8;
  // The decoder works in macroblocks of 16 rows.
  std::vector<unsigned char> pixels(stride * ((height + 15) / 16 * 16) + 64);
  PKRect rectangle = {0, 0, width, height};
  if (Failed(decoder->Copy(decoder, &rectangle, pixels.data(), static_cast<U32>(stride)))) return;
  decoded.ok = true;
  decoded.width = static_cast<unsigned>(width);
  decoded.height = static_cast<unsigned>(height);
  decoded.bitsPerPixel = static_cast<int>(info.cbitUnit);
  decoded.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (unsigned y = 0; y < decoded.height; ++y) {
    for (unsigned x = 0; x < decoded.width; ++x) {
      const Rgb pixel = PixelOf(format, &pixels[stride * y], x);
      std::copy(pixel.begin(), pixel.end(), &decoded.rgb[(static_cast<std::size_t>(y) * width + x) * 3]);
    }
  }
}

}  // namespace

DecodedImage ReadJpegXr(const std::string& path) {
  DecodedImage decoded;
  PKCodecFactory* factory = nullptr;
  if (Failed(PKCreateCodecFactory(&factory, WMP_SDK_VERSION))) return decoded;
  PKImageDecode* decoder = nullptr;
  if (!Failed(factory->CreateDecoderFromFile(path.c_str(), &decoder))) {
    DecodeInto(decoder, decoded);
    decoder->Release(&decoder);
  }
  factory->Release(&factory);
  return decoded;
}

#else

DecodedImage ReadJpegXr(const std::string&) { return {}; }

#endif

}  // namespace lumivane::testing
