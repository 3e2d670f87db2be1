#include "pipeline/save_flags.h"

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

TEST(ComputeSaveFlags, CombinesTheFlagsOfTheFormatsOutputSettings) {
  using Output = decltype(Settings::output);
  const SaveFlagsCase cases[] = {
      {"jpg quality 95 chroma none", "jpg", [](Output& o) { o.jpgQuality = 95, o.jpgChroma = 0, o.jpgSaveAs = 0; },
       0x1005F},
      {"jpg quality 80 medium progressive", "jpg",
       [](Output& o) { o.jpgQuality = 80, o.jpgChroma = 2, o.jpgSaveAs = 3; }, 0x6050},
      {"jpg low simple", "jpg", [](Output& o) { o.jpgQuality = 1, o.jpgChroma = 1, o.jpgSaveAs = 1; },
       1 | 0x8000 | 0x40000},
      {"jpg high optimized", "jpg", [](Output& o) { o.jpgQuality = 100, o.jpgChroma = 3, o.jpgSaveAs = 2; },
       100 | 0x1000 | 0x20000},
      {"jpg codes outside the lists", "jpg", [](Output& o) { o.jpgQuality = 50, o.jpgChroma = 4, o.jpgSaveAs = -1; },
       50},
      {"webp lossless", "webp", [](Output& o) { o.webpQuality = 100; }, 0x100},
      {"webp lossy", "webp", [](Output& o) { o.webpQuality = 75; }, 75},
      {"png zlib6 interlaced", "png", [](Output& o) { o.pngCompression = 2, o.pngInterlaced = 1; }, 0x206},
      {"png none", "png", [](Output& o) { o.pngCompression = 0, o.pngInterlaced = 0; }, 0x100},
      {"png zlib1", "png", [](Output& o) { o.pngCompression = 1, o.pngInterlaced = 0; }, 1},
      {"png zlib9, interlace flag 2 counts as on", "png", [](Output& o) { o.pngCompression = 3, o.pngInterlaced = 2; },
       0x209},
      {"png code 6 (LZW)", "png", [](Output& o) { o.pngCompression = 6, o.pngInterlaced = 0; }, 0},
      {"tiff lzw cmyk", "tiff", [](Output& o) { o.tiffCompression = 6, o.tiffColorMode = 1; }, 0x4001},
      {"tiff none rgb", "tiff", [](Output& o) { o.tiffCompression = 0, o.tiffColorMode = 0; }, 0x800},
      {"tiff logluv lab", "tiff", [](Output& o) { o.tiffCompression = 8, o.tiffColorMode = 2; }, 0x10000},
      {"tiff ccittfax3", "tiff", [](Output& o) { o.tiffCompression = 1, o.tiffColorMode = 0; }, 0x1000},
      {"tiff adobedeflate", "tiff", [](Output& o) { o.tiffCompression = 5, o.tiffColorMode = 0; }, 0x400},
      {"tiff jpeg", "tiff", [](Output& o) { o.tiffCompression = 7, o.tiffColorMode = 0; }, 0x8000},
      {"tiff packbits", "tiff", [](Output& o) { o.tiffCompression = 3, o.tiffColorMode = 0; }, 0x100},
      {"exr none", "exr", [](Output& o) { o.exrCompression = 0; }, 2},
      {"exr zip", "exr", [](Output& o) { o.exrCompression = 1; }, 4},
      {"exr pxr24", "exr", [](Output& o) { o.exrCompression = 3; }, 16},
      {"exr b44", "exr", [](Output& o) { o.exrCompression = 4; }, 32},
      {"exr code 6", "exr", [](Output& o) { o.exrCompression = 6; }, 0},
      {"bmp rle", "bmp", [](Output& o) { o.bmpCompression = 1; }, 1},
      {"bmp none", "bmp", [](Output& o) { o.bmpCompression = 0; }, 0},
      {"bmp code 6 (LZW)", "bmp", [](Output& o) { o.bmpCompression = 6; }, 0},
      {"tga rle", "tga", [](Output& o) { o.tgaCompression = 1; }, 2},
      {"tga code 2", "tga", [](Output& o) { o.tgaCompression = 2; }, 0},
      {"jxr always lossless", "jxr", [](Output& o) { o.jpgQuality = 10; }, 100},
      {"gif ignores other formats", "gif", [](Output& o) { o.pngCompression = 3, o.jpgQuality = 80; }, 0},
      {"psd", "psd", [](Output& o) { o.tiffCompression = 6; }, 0},
      {"identifiers are compared exactly", "JPG", [](Output& o) { o.jpgQuality = 80; }, 0},
      {"unknown identifier", "raw", [](Output& o) { o.jpgQuality = 80; }, 0},
  };
  for (const SaveFlagsCase& c : cases) {
    Settings settings;
    c.set(settings.output);
    EXPECT_EQ(ComputeSaveFlags(settings, c.format), c.expected) << c.name;
  }
}

TEST(ComputeSaveFlags, EveryFormatWithoutEncoderSettingsGivesZero) {
  Settings settings;
  settings.output.jpgQuality = 80;
  settings.output.tiffCompression = 6;
  for (const char* format :
       {"dds", "gif", "hdr", "ico", "j2k", "jng", "jp2", "pbm", "pcx", "pfm", "pgm", "ppm", "psd", "wbmp", "xpm"}) {
    EXPECT_EQ(ComputeSaveFlags(settings, format), 0) << format;
  }
}

}  // namespace
}  // namespace lumivane::testing
