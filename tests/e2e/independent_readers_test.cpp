// Every output format at every depth and automatic depth, and each variant that changes a file's structure, as
// decoders other than the one that wrote it see the file (one per decoding library; fewer than two where no second
// one is packaged: dds and psd ImageMagick only, jxr jxrlib only, as ImageMagick's JPEG XR is jxrlib's, LogLuv TIFF
// libvips only, as ImageMagick and GraphicsMagick turn its light into display values). Each reader's picture is
// compared with the one the program meant to write: the same run as an uncompressed TIFF at that depth, read back
// by FreeImage (its grey for grey files, the 24-bit picture for 16-bit files, the RGB one for CMYK files). Lossless
// files match exactly (one 5-bit step at 16 bits), lossy ones reach a stated PSNR: 30 dB for DXT1, JPEG, JPEG 2000
// and lossy WebP, 70 dB for EXR's half floats (40 for B44), 50 for HDR, 90 for JPEG XR floats.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <map>

#include "dng/dng_writer.h"
#include "formats/bit_depth_list.h"
#include "formats/registry.h"
#include "support/jq.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

enum Reader { kImageMagick, kGraphicsMagick, kVips, kNetpbm, kJxrlib };
constexpr const char* kReaderNames[] = {"ImageMagick", "GraphicsMagick", "libvips", "netpbm", "jxrlib"};

// minPsnr 0: lossless. alphaAt: the depth whose files keep alpha (-1: an icon's mask may show as alpha).
// greyFrom: 8-bit files hold the grey of the picture at this depth.
struct Facts {
  std::string_view format;
  std::vector<Reader> readers;
  double minPsnr = 0;
  int alphaAt = 0;
  int greyFrom = 0;
};
const std::vector<Reader> kMagicks = {kImageMagick, kGraphicsMagick};
// clang-format off
const Facts kFacts[] = {
    {"bmp", kMagicks, 0, 32}, {"dds", {kImageMagick}, 30}, {"exr", {kImageMagick, kVips}, 70, 96}, {"gif", kMagicks},
    {"hdr", {kImageMagick, kVips}, 50}, {"ico", {kImageMagick, kNetpbm}, 0, -1},
    {"j2k", {kImageMagick, kVips}, 30, 32, 24}, {"jng", kMagicks, 30}, {"jp2", {kImageMagick, kVips}, 30, 32, 24},
    {"jpg", kMagicks, 30, 0, 24}, {"jxr", {kJxrlib}, 0, 32, 24}, {"pbm", kMagicks}, {"pcx", kMagicks},
    {"pfm", {kImageMagick, kNetpbm}}, {"pgm", kMagicks, 0, 0, 8}, {"png", kMagicks}, {"ppm", kMagicks},
    {"psd", {kImageMagick}}, {"tga", kMagicks, 0, 32}, {"tiff", kMagicks, 0, 32}, {"wbmp", kMagicks},
    {"webp", kMagicks}, {"xpm", kMagicks}};
// clang-format on

// One file to write (depth 0: automatic); note: the detail of its report line; written: the depth %bpp% shows, set
// for CMYK files only; minPsnr -1 and no readers: the format's.
struct Cell {
  std::string format;
  int depth = 0;
  std::vector<std::string> options;
  std::string note;
  int written = 0;
  double minPsnr = -1;
  std::vector<Reader> readers;
};
// ImageMagick 6 takes 16-bit icons for palettes; ImageMagick rounds on the way back from 8-bit CMYK.
const Cell kExceptions[] = {{"ico", 16, {}, "", 0, -1, {kGraphicsMagick, kNetpbm}}, {"jxr", 96, {}, "", 0, 90}};
// clang-format off
const Cell kVariants[] = {
    {"bmp", 8, {"--bmp-compression=RLE"}}, {"bmp", 8, {"--bmp-compression=RLE", "--bmp-color-table=EXACT"}},
    {"bmp", 8, {"--bmp-color-table=EXACT"}}, {"exr", 96, {"--exr-compression=ZIP"}},
    {"exr", 96, {"--exr-compression=PIZ"}}, {"exr", 96, {"--exr-compression=PXR24"}},
    {"exr", 96, {"--exr-compression=B44"}, "", 0, 40}, {"jpg", 8, {"--jpg-save-as=PROGRESSIVE"}},
    {"jpg", 24, {"--jpg-save-as=PROGRESSIVE"}}, {"png", 24, {"--png-interlaced"}}, {"png", 48, {"--png-interlaced"}},
    {"tga", 8, {"--tga-compression=RLE"}}, {"tga", 16, {"--tga-compression=RLE"}},
    {"tga", 24, {"--tga-compression=RLE"}}, {"tga", 32, {"--tga-compression=RLE"}},
    {"tiff", 1, {"--tiff-compression=CCITTFAX3"}}, {"tiff", 1, {"--tiff-compression=CCITTFAX4"}},
    {"tiff", 24, {"--tiff-compression=PACKBITS"}}, {"tiff", 24, {"--tiff-compression=DEFLATE"}},
    {"tiff", 24, {"--tiff-compression=ADOBEDEFLATE"}}, {"tiff", 24, {"--tiff-compression=LZW"}},
    {"tiff", 24, {"--tiff-compression=JPEG"}, "", 0, 30},
    {"tiff", 8, {"--tiff-compression=JPEG", "--greyscale"}, "", 0, 30},
    {"tiff", 96, {"--tiff-compression=LOGLUV"}, "", 0, 40, {kVips}},
    {"tiff", 24, {"--tiff-compression=CCITTFAX3"}, "CCITTFAX3 compression does not apply at 24 bits: written with LZW"},
    {"tiff", 48, {"--tiff-compression=JPEG"}, "JPEG compression does not apply at 48 bits: written with LZW"},
    {"tiff", 1, {"--tiff-compression=LOGLUV"}, "LOGLUV compression does not apply at 1 bit: written with CCITTFAX4"},
    {"tiff", 0, {"--tiff-color-mode=CMYK"}, "", 32, 50}, {"tiff", 24, {"--tiff-color-mode=CMYK"}, "", 32, 50},
    {"tiff", 32, {"--tiff-color-mode=CMYK"}, "", 32, 50}, {"tiff", 48, {"--tiff-color-mode=CMYK"}, "", 64},
    {"tiff", 8, {"--tiff-color-mode=CMYK"}, "CMYK does not apply at 8 bits"},
    {"webp", 24, {"--webp-quality=80"}, "", 0, 30}, {"webp", 32, {"--webp-quality=80"}, "", 0, 30}};
// clang-format on

std::vector<Cell> EveryCell() {
  std::vector<Cell> cells;
  for (const OutputFormat& row : OutputFormatTable()) {
    const BitDepthList depths = ParseBitDepthList(row.allowedBitDepths);
    for (std::size_t i = 0; i <= depths.count; ++i) {  // and automatic depth
      const Cell plain{std::string(row.identifier), i < depths.count ? depths.values[i] : 0};
      const auto* special = std::find_if(std::begin(kExceptions), std::end(kExceptions), [&](const Cell& cell) {
        return cell.format == plain.format && cell.depth == plain.depth;
      });
      cells.push_back(special != std::end(kExceptions) ? *special : plain);
    }
  }
  cells.insert(cells.end(), std::begin(kVariants), std::end(kVariants));
  return cells;
}

// Decodes the file with the reader into a lossless hand-over (PNG from ImageMagick and GraphicsMagick up to 32 bits,
// BMP from jxrlib at 16 bits, which holds 5-6-5, else TIFF; 16 bits a channel above 32 bits), CMYK as RGB. The
// hand-over's path, or "" when the reader refuses the file.
std::string Decode(Reader reader, const std::string& file, const std::string& stem, int written, bool cmyk) {
  const std::string depth = written > 32 ? "16" : "8";
  const bool magick = reader == kImageMagick || reader == kGraphicsMagick;
  const std::string handOver = stem + (magick && written <= 32              ? ".png"
                                       : reader == kJxrlib && written == 16 ? ".bmp"
                                                                            : ".tif");
  std::vector<std::string> command;
  switch (reader) {
    case kImageMagick:  // ImageMagick 6.9 applies a TGA's bottom-up origin only with -auto-orient
      command = {"/usr/bin/convert", file + "[0]", "-auto-orient", "-depth", depth};
      if (cmyk) command.insert(command.end(), {"-colorspace", "sRGB"});
      break;
    case kGraphicsMagick:
      command = {"gm", "convert", file, "-depth", depth};
      if (cmyk) command.insert(command.end(), {"-colorspace", "RGB"});
      break;
    case kVips: command = {"vips", "copy", file, handOver}; break;
    case kJxrlib: command = {"JxrDecApp", "-i", file, "-o", handOver}; break;
    case kNetpbm:
      const std::string decoder = file.ends_with(".ico") ? "winicontopam" : "pfmtopam -maxval=65535";
      command = {"sh", "-c", decoder + " '" + file + "' | pamtotiff -truecolor > '" + handOver + "'"};
  }
  if (magick) command.push_back(handOver);
  return RunCommand(command).exitCode == 0 ? handOver : "";
}

// A picture as FreeImage reads it, as RGBA floats, with the channels of the file (2 and 4 with alpha).
struct Picture {
  UniqueBitmap rgba;
  int channels = 0;
};

Picture Load(const std::string& path, bool grey = false) {
  UniqueBitmap loaded(FreeImage_Load(FreeImage_GetFileType(path.c_str()), path.c_str(), 0));
  if (loaded && grey) loaded.reset(FreeImage_ConvertToGreyscale(loaded.get()));
  if (!loaded) return {};
  const FREE_IMAGE_TYPE type = FreeImage_GetImageType(loaded.get());
  const FREE_IMAGE_COLOR_TYPE colours = FreeImage_GetColorType(loaded.get());
  const bool oneChannel =
      type == FIT_UINT16 || (type == FIT_BITMAP && (colours == FIC_MINISBLACK || colours == FIC_MINISWHITE));
  const bool alpha = FreeImage_GetBPP(loaded.get()) == 32 || type == FIT_RGBA16 || type == FIT_RGBAF;
  return {UniqueBitmap(FreeImage_ConvertToRGBAF(loaded.get())), (oneChannel ? 1 : 3) + (alpha ? 1 : 0)};
}

bool IsGrey(FIBITMAP* rgba) {  // FIT_RGBAF rows have no padding
  const auto* pixels = reinterpret_cast<const FIRGBAF*>(FreeImage_GetBits(rgba));
  return std::all_of(pixels, pixels + FreeImage_GetWidth(rgba) * FreeImage_GetHeight(rgba),
                     [](const FIRGBAF& p) { return p.red == p.green && p.green == p.blue; });
}

// The largest difference of the colour channels and their PSNR (999: none).
std::pair<double, double> Compare(FIBITMAP* read, FIBITMAP* meant) {
  double largest = 0, squares = 0;
  for (unsigned y = 0; y < FreeImage_GetHeight(meant); ++y) {
    const auto* a = reinterpret_cast<const FIRGBAF*>(FreeImage_GetScanLine(read, static_cast<int>(y)));
    const auto* b = reinterpret_cast<const FIRGBAF*>(FreeImage_GetScanLine(meant, static_cast<int>(y)));
    for (unsigned x = 0; x < FreeImage_GetWidth(meant); ++x) {
      for (const double d : {a[x].red - b[x].red, a[x].green - b[x].green, a[x].blue - b[x].blue}) {
        largest = std::max(largest, std::abs(d));
        squares += d * d;
      }
    }
  }
  const double samples = 3.0 * FreeImage_GetWidth(meant) * FreeImage_GetHeight(meant);
  return {largest, squares == 0 ? 999 : 10 * std::log10(samples / squares)};
}

class IndependentReaders : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(WriteDngFile(folder_ / "in.dng", {.width = 64, .height = 64, .seed = 5})); }

  // Runs the conversion into a folder of its own; the written file's path, or "" when there is not one file.
  std::string Convert(const std::string& name, const std::string& format, int depth, std::vector<std::string> options) {
    const std::string out = folder_ / name;
    std::filesystem::create_directory(out);
    options.insert(options.end(), {"-q", "-i", folder_ / "in.dng", "-o", out, "-c", format,
                                   "--" + format + "-bpp=" + std::to_string(depth), "--filename-mask=f.%bpp%.%ext%",
                                   "--report=" + out + ".jsonl"});
    EXPECT_EQ(RunProgramWith(options).exitCode, 0);
    const std::filesystem::directory_iterator entries(out);
    return std::distance(begin(entries), end(entries)) == 1 ? std::filesystem::directory_iterator(out)->path().string()
                                                            : "";
  }

  const Picture& Meant(int depth, bool grey) {
    Picture& picture = meant_[depth * 2 + grey];
    if (!picture.rgba) picture = Load(Convert("meant" + std::to_string(depth), "tiff", depth, {}), grey);
    return picture;
  }

  TempDir folder_;
  std::map<int, Picture> meant_;
};

TEST_F(IndependentReaders, ReadEveryFormatDepthAndVariantAsTheProgramMeantIt) {
  int run = 0;
  std::map<std::string, std::string> seen;  // labels by file content: an automatic depth's file is read once
  for (const Cell& cell : EveryCell()) {
    std::string label = cell.format + " " + std::to_string(cell.depth);
    for (const std::string& option : cell.options) label += " " + option;
    SCOPED_TRACE(label);
    const std::string name = "cell" + std::to_string(++run);
    const std::string file = Convert(name, cell.format, cell.depth, cell.options);
    if (file.empty()) continue;
    const int written = std::stoi(std::filesystem::path(file).stem().extension().string().substr(1));
    if (cell.depth != 0) EXPECT_EQ(written, cell.written != 0 ? cell.written : cell.depth);
    EXPECT_EQ(RunJq("select(.type == \"file\") | .detail // \"\"", folder_ / (name + ".jsonl")), cell.note);
    std::string& sameAs = seen[ReadFileBytes(file)];
    if (!sameAs.empty()) {
      std::cout << label << " -> " << written << ": as " << sameAs << std::endl;
      continue;
    }
    sameAs = label;
    const Facts& facts =
        *std::find_if(std::begin(kFacts), std::end(kFacts), [&](auto& f) { return f.format == cell.format; });
    const bool cmyk = cell.written != 0;
    const int greyFrom = std::count(cell.options.begin(), cell.options.end(), "--greyscale") != 0 ? 24
                         : written == 8                                                           ? facts.greyFrom
                                                                                                  : 0;
    const int meantDepth = greyFrom != 0 ? greyFrom : cmyk ? written * 3 / 4 : written == 16 ? 24 : written;
    const Picture& meant = Meant(meantDepth, greyFrom != 0);
    ASSERT_TRUE(meant.rgba);
    const bool grey = IsGrey(meant.rgba.get());  // then one channel will do
    const std::vector<Reader>& readers = cell.readers.empty() ? facts.readers : cell.readers;
    const double minPsnr = cell.minPsnr >= 0 ? cell.minPsnr : facts.minPsnr;
    std::string line = label + " -> " + std::to_string(written) + ":";
    for (const Reader reader : readers) {
      const char* readerName = kReaderNames[reader];
      const std::string handOver = Decode(reader, file, folder_ / (name + readerName), written, cmyk);
      const Picture read = handOver.empty() ? Picture{} : Load(handOver);
      ASSERT_TRUE(read.rgba) << readerName;
      ASSERT_EQ(FreeImage_GetWidth(read.rgba.get()), FreeImage_GetWidth(meant.rgba.get())) << readerName;
      EXPECT_EQ(FreeImage_GetHeight(read.rgba.get()), FreeImage_GetHeight(meant.rgba.get())) << readerName;
      const bool alpha = read.channels % 2 == 0;
      EXPECT_TRUE(read.channels - alpha == 3 || (grey && read.channels - alpha == 1)) << readerName;
      if (facts.alphaAt >= 0) EXPECT_EQ(alpha, facts.alphaAt == written && !cmyk) << readerName;
      const auto [largest, psnr] = Compare(read.rgba.get(), meant.rgba.get());
      if (minPsnr == 0) EXPECT_LE(largest, written == 16 ? 8.5 / 255 : 1.0 / 65535) << readerName;
      if (minPsnr != 0) EXPECT_GE(psnr, minPsnr) << readerName;
      line +=
          std::string(" ") + readerName + (minPsnr == 0 ? " exact" : " " + std::to_string(std::lround(psnr)) + " dB");
    }
    if (readers.size() < 2) line += " (no second independent decoder of the format is packaged)";
    std::cout << line << std::endl;
  }
}

// FreeImage reads its own 8-bit RLE files once they are mended, and the same picture gives the same file every run.
TEST_F(IndependentReaders, Rle8BitmapsAreTheSameEveryRunAndReadBackByTheirWriter) {
  for (const std::string table : {"AUTO", "EXACT"}) {
    const std::vector<std::string> options = {"--bmp-compression=RLE", "--bmp-color-table=" + table};
    const std::string first = Convert("first" + table, "bmp", 8, options);
    EXPECT_EQ(ReadFileBytes(first), ReadFileBytes(Convert("second" + table, "bmp", 8, options))) << table;
    EXPECT_TRUE(Load(first).rgba) << table;
  }
}

}  // namespace
}  // namespace lumivane::testing
