#include "formats/registry.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumivane::testing {
namespace {

struct SaveFlagsCase {
  const char* name;
  const char* format;
  std::function<void(decltype(Settings::output)&)> set;
  std::int32_t expected;
};

// A code no keyword names, as a configuration file or a shared compression keyword can store.
template <class Code>
constexpr Code Unnamed(std::int32_t number) {
  return static_cast<Code>(number);
}

TEST(SaveFlagsOf, CombinesTheFlagsOfTheFormatsOutputSettings) {
  using Output = decltype(Settings::output);
  const SaveFlagsCase cases[] = {
      {"jpg quality 95 chroma none", "jpg",
       [](Output& o) {
         o.jpgQuality = 95, o.jpgChroma = ChromaSubsampling::kNone, o.jpgSaveAs = JpegSaveAs::kStandard;
       },
       0x1005F},
      {"jpg quality 80 medium progressive", "jpg",
       [](Output& o) {
         o.jpgQuality = 80, o.jpgChroma = ChromaSubsampling::kMedium, o.jpgSaveAs = JpegSaveAs::kProgressive;
       },
       0x6050},
      {"jpg low simple", "jpg",
       [](Output& o) { o.jpgQuality = 1, o.jpgChroma = ChromaSubsampling::kLow, o.jpgSaveAs = JpegSaveAs::kSimple; },
       1 | 0x8000 | 0x40000},
      {"jpg high optimized", "jpg",
       [](Output& o) {
         o.jpgQuality = 100, o.jpgChroma = ChromaSubsampling::kHigh, o.jpgSaveAs = JpegSaveAs::kOptimized;
       },
       100 | 0x1000 | 0x20000},
      {"jpg codes outside the lists", "jpg",
       [](Output& o) {
         o.jpgQuality = 50, o.jpgChroma = Unnamed<ChromaSubsampling>(4), o.jpgSaveAs = Unnamed<JpegSaveAs>(-1);
       },
       50},
      {"webp lossless", "webp", [](Output& o) { o.webpQuality = 100; }, 0x100},
      {"webp lossy", "webp", [](Output& o) { o.webpQuality = 75; }, 75},
      {"png zlib6 interlaced", "png", [](Output& o) { o.pngCompression = PngCompression::kZlib6, o.pngInterlaced = 1; },
       0x206},
      {"png none", "png", [](Output& o) { o.pngCompression = PngCompression::kNone, o.pngInterlaced = 0; }, 0x100},
      {"png zlib1", "png", [](Output& o) { o.pngCompression = PngCompression::kZlib1, o.pngInterlaced = 0; }, 1},
      {"png zlib9, interlace flag 2 counts as on", "png",
       [](Output& o) { o.pngCompression = PngCompression::kZlib9, o.pngInterlaced = 2; }, 0x209},
      {"png code 6 (LZW)", "png",
       [](Output& o) {
         o.pngCompression = Unnamed<PngCompression>(CodeOf(TiffCompression::kLzw)), o.pngInterlaced = 0;
       },
       0},
      {"tiff lzw cmyk", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kLzw, o.tiffColorMode = ColorMode::kCmyk; }, 0x4001},
      {"tiff none rgb", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kNone, o.tiffColorMode = ColorMode::kRgb; }, 0x800},
      {"tiff logluv lab", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kLogLuv, o.tiffColorMode = ColorMode::kLab; }, 0x10000},
      {"tiff ccittfax3", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kCcittFax3, o.tiffColorMode = ColorMode::kRgb; }, 0x1000},
      {"tiff adobedeflate", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kAdobeDeflate, o.tiffColorMode = ColorMode::kRgb; }, 0x400},
      {"tiff jpeg", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kJpeg, o.tiffColorMode = ColorMode::kRgb; }, 0x8000},
      {"tiff packbits", "tiff",
       [](Output& o) { o.tiffCompression = TiffCompression::kPackBits, o.tiffColorMode = ColorMode::kRgb; }, 0x100},
      {"exr none", "exr", [](Output& o) { o.exrCompression = ExrCompression::kNone; }, 2},
      {"exr zip", "exr", [](Output& o) { o.exrCompression = ExrCompression::kZip; }, 4},
      {"exr pxr24", "exr", [](Output& o) { o.exrCompression = ExrCompression::kPxr24; }, 16},
      {"exr b44", "exr", [](Output& o) { o.exrCompression = ExrCompression::kB44; }, 32},
      {"exr LZW (code 6)", "exr",
       [](Output& o) { o.exrCompression = Unnamed<ExrCompression>(CodeOf(TiffCompression::kLzw)); }, 0},
      {"bmp rle", "bmp", [](Output& o) { o.bmpCompression = RleCompression::kRle; }, 1},
      {"bmp none", "bmp", [](Output& o) { o.bmpCompression = RleCompression::kNone; }, 0},
      {"bmp code 6 (LZW)", "bmp",
       [](Output& o) { o.bmpCompression = Unnamed<RleCompression>(CodeOf(TiffCompression::kLzw)); }, 0},
      {"tga rle", "tga", [](Output& o) { o.tgaCompression = RleCompression::kRle; }, 2},
      {"tga PIZ (code 2)", "tga",
       [](Output& o) { o.tgaCompression = Unnamed<RleCompression>(CodeOf(ExrCompression::kPiz)); }, 0},
      {"jxr always lossless", "jxr", [](Output& o) { o.jpgQuality = 10; }, 100},
      {"gif ignores other formats", "gif",
       [](Output& o) { o.pngCompression = PngCompression::kZlib9, o.jpgQuality = 80; }, 0},
      {"psd", "psd", [](Output& o) { o.tiffCompression = TiffCompression::kLzw; }, 0},
      {"identifiers are compared exactly", "JPG", [](Output& o) { o.jpgQuality = 80; }, 0},
      {"unknown identifier", "raw", [](Output& o) { o.jpgQuality = 80; }, 0},
  };
  for (const SaveFlagsCase& c : cases) {
    Settings settings;
    c.set(settings.output);
    EXPECT_EQ(SaveFlagsOf(settings, c.format), c.expected) << c.name;
  }
}

TEST(SaveFlagsOf, EveryFormatWithoutEncoderSettingsGivesZero) {
  Settings settings;
  settings.output.jpgQuality = 80;
  settings.output.tiffCompression = TiffCompression::kLzw;
  for (const char* format :
       {"dds", "gif", "hdr", "ico", "j2k", "jng", "jp2", "pbm", "pcx", "pfm", "pgm", "ppm", "psd", "wbmp", "xpm"}) {
    EXPECT_EQ(SaveFlagsOf(settings, format), 0) << format;
  }
}

}  // namespace
}  // namespace lumivane::testing
