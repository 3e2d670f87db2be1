// Every output format at every depth (and automatic depth), and each variant that changes a file's structure, as
// programs other than the one that wrote it see the file. Each file is decoded by the independent decoders of its
// format (a decoder counts once per decoding library), handed over as an uncompressed TIFF (a JPEG XR at 16 bits
// as a BMP, which holds 5-6-5), and compared with the picture the program meant to write: the same run written as
// an uncompressed TIFF at that depth and read back by FreeImage (its grey for grey files; the 24-bit picture for
// 16-bit files; the RGB picture for CMYK files). Size, grey or colour, alpha, and pixels: exactly for lossless files
// (within one 16-bit step for floats, one 5-bit step for 16-bit files), a stated PSNR for lossy ones. A file that
// is the same as one read before (an automatic depth) is not read again.
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

enum class Reader { kImageMagick, kGraphicsMagick, kVips, kNetpbm, kJxrlib };
using enum Reader;
constexpr const char* kReaderNames[] = {"ImageMagick", "GraphicsMagick", "libvips", "netpbm", "jxrlib"};

// What a format's files are to other programs. minPsnr 0: lossless. alphaAt: the depth whose files keep an alpha
// channel (-1: readers may show an icon's mask as alpha or not). greyFrom: at 8 bits the file holds the grey of the
// picture at this depth. Fewer than two readers: no second independent decoder of the format is packaged.
struct Facts {
  std::string_view format;
  std::vector<Reader> readers;
  double minPsnr = 0;
  int alphaAt = 0;
  int greyFrom = 0;
};
const Facts kFacts[] = {
    {"bmp", {kImageMagick, kGraphicsMagick}, 0, 32},
    {"dds", {kImageMagick}, 30},             // DXT1
    {"exr", {kImageMagick, kVips}, 70, 96},  // half floats
    {"gif", {kImageMagick, kGraphicsMagick}},
    {"hdr", {kImageMagick, kVips}, 50},  // 8-bit mantissas
    {"ico", {kImageMagick, kNetpbm}, 0, -1},
    {"j2k", {kImageMagick, kVips}, 30, 32, 24},
    {"jng", {kImageMagick, kGraphicsMagick}, 30},
    {"jp2", {kImageMagick, kVips}, 30, 32, 24},
    {"jpg", {kImageMagick, kGraphicsMagick}, 30, 0, 24},
    {"jxr", {kJxrlib}, 0, 32, 24},  // ImageMagick's JPEG XR decoder is jxrlib's
    {"pbm", {kImageMagick, kGraphicsMagick}},
    {"pcx", {kImageMagick, kGraphicsMagick}},
    {"pfm", {kImageMagick, kNetpbm}},  // libvips 8.14 reads the rows top-down
    {"pgm", {kImageMagick, kGraphicsMagick}, 0, 0, 8},
    {"png", {kImageMagick, kGraphicsMagick}},
    {"ppm", {kImageMagick, kGraphicsMagick}},
    {"psd", {kImageMagick}},
    {"tga", {kImageMagick, kGraphicsMagick}, 0, 32},
    {"tiff", {kImageMagick, kGraphicsMagick}, 0, 32},
    {"wbmp", {kImageMagick, kGraphicsMagick}},
    {"webp", {kImageMagick, kGraphicsMagick}},
    {"xpm", {kImageMagick, kGraphicsMagick}},
};

// One file to write. depth 0: automatic. written: the depth the name's %bpp% must show (0: depth, any for
// automatic); set for CMYK files only. minPsnr -1 and no readers: the format's.
struct Cell {
  std::string format;
  int depth = 0;
  std::vector<std::string> options;
  std::string note;  // the detail of the file's report line
  int written = 0;
  double minPsnr = -1;
  std::vector<Reader> readers;
};
// Cells of the format table whose readers or precision differ from their format's.
const Cell kExceptions[] = {
    {"ico", 16, {}, "", 0, -1, {kGraphicsMagick, kNetpbm}},  // ImageMagick 6 takes 16-bit icons for palettes
    {"jxr", 96, {}, "", 0, 90},                              // JPEG XR codes floats as integers
};
const Cell kVariants[] = {
    {"bmp", 8, {"--bmp-compression=RLE"}},
    {"bmp", 8, {"--bmp-compression=RLE", "--bmp-color-table=EXACT"}},
    {"bmp", 8, {"--bmp-color-table=EXACT"}},
    {"exr", 96, {"--exr-compression=ZIP"}},
    {"exr", 96, {"--exr-compression=PIZ"}},
    {"exr", 96, {"--exr-compression=PXR24"}},
    {"exr", 96, {"--exr-compression=B44"}, "", 0, 40},
    {"jpg", 8, {"--jpg-save-as=PROGRESSIVE"}},
    {"jpg", 24, {"--jpg-save-as=PROGRESSIVE"}},
    {"png", 24, {"--png-interlaced"}},
    {"png", 48, {"--png-interlaced"}},
    {"tga", 8, {"--tga-compression=RLE"}},
    {"tga", 16, {"--tga-compression=RLE"}},
    {"tga", 24, {"--tga-compression=RLE"}},
    {"tga", 32, {"--tga-compression=RLE"}},
    {"tiff", 1, {"--tiff-compression=CCITTFAX3"}},
    {"tiff", 1, {"--tiff-compression=CCITTFAX4"}},
    {"tiff", 24, {"--tiff-compression=PACKBITS"}},
    {"tiff", 24, {"--tiff-compression=DEFLATE"}},
    {"tiff", 24, {"--tiff-compression=ADOBEDEFLATE"}},
    {"tiff", 24, {"--tiff-compression=LZW"}},
    {"tiff", 24, {"--tiff-compression=JPEG"}, "", 0, 30},
    {"tiff", 8, {"--tiff-compression=JPEG", "--greyscale"}, "", 0, 30},
    // ImageMagick and GraphicsMagick turn LogLuv's light into display values; the file holds display values already,
    // as the EXR and HDR files do.
    {"tiff", 96, {"--tiff-compression=LOGLUV"}, "", 0, 40, {kVips}},
    {"tiff", 24, {"--tiff-compression=CCITTFAX3"}, "CCITTFAX3 compression does not apply at 24 bits: written with LZW"},
    {"tiff", 48, {"--tiff-compression=JPEG"}, "JPEG compression does not apply at 48 bits: written with LZW"},
    {"tiff", 1, {"--tiff-compression=LOGLUV"}, "LOGLUV compression does not apply at 1 bit: written with CCITTFAX4"},
    // ImageMagick rounds on the way back from 8-bit CMYK where GraphicsMagick truncates (exact).
    {"tiff", 0, {"--tiff-color-mode=CMYK"}, "", 32, 50},
    {"tiff", 24, {"--tiff-color-mode=CMYK"}, "", 32, 50},
    {"tiff", 32, {"--tiff-color-mode=CMYK"}, "", 32, 50},
    {"tiff", 48, {"--tiff-color-mode=CMYK"}, "", 64},
    {"tiff", 8, {"--tiff-color-mode=CMYK"}, "CMYK does not apply at 8 bits"},
    {"webp", 24, {"--webp-quality=80"}, "", 0, 30},
    {"webp", 32, {"--webp-quality=80"}, "", 0, 30},
};

std::vector<Cell> EveryCell() {
  std::vector<Cell> cells;
  for (const OutputFormat& row : OutputFormatTable()) {
    const BitDepthList depths = ParseBitDepthList(row.allowedBitDepths);
    for (std::size_t i = 0; i < depths.count; ++i) {
      const auto special = std::find_if(std::begin(kExceptions), std::end(kExceptions), [&](const Cell& cell) {
        return cell.format == row.identifier && cell.depth == depths.values[i];
      });
      cells.push_back(special != std::end(kExceptions) ? *special
                                                       : Cell{std::string(row.identifier), depths.values[i]});
    }
    cells.push_back({std::string(row.identifier), 0});  // automatic depth: read unless it gave a file read before
  }
  cells.insert(cells.end(), std::begin(kVariants), std::end(kVariants));
  return cells;
}

std::string Join(const std::vector<std::string>& options) {
  std::string joined;
  for (const std::string& option : options) joined += option + " ";
  return joined;
}

const Facts& FactsOf(const std::string& format) {
  return *std::find_if(std::begin(kFacts), std::end(kFacts), [&](const Facts& f) { return f.format == format; });
}

// Decodes the file with the reader and hands the picture over in a file named `stem` and an extension the reader
// writes losslessly (TIFF; PNG for ImageMagick's and GraphicsMagick's up to 32 bits, BMP for jxrlib's 5-6-5), with
// 16 bits a channel for files deeper than 32 bits.
// The hand-over's path, or "" when the reader refuses the file. CMYK files are read as RGB.
std::string Decode(Reader reader, const std::string& file, const std::string& stem, int written, bool cmyk) {
  const std::string depth = written > 32 ? "16" : "8";
  const bool magick = reader == kImageMagick || reader == kGraphicsMagick;  // PNG holds their palettes of any size
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
    case kVips: command = {"vips", "copy", file}; break;
    case kJxrlib: command = {"JxrDecApp", "-i", file, "-o"}; break;
    case kNetpbm: {
      const std::string decoder = file.ends_with(".ico") ? "winicontopam" : "pfmtopam -maxval=65535";
      command = {"sh", "-c", decoder + " '" + file + "' | pamtotiff -truecolor > '" + handOver + "'"};
    }
  }
  if (reader != kNetpbm) command.push_back(handOver);
  return RunCommand(command).exitCode == 0 ? handOver : "";
}

// A picture as FreeImage reads it: RGBA floats, and the channels of the file (2 and 4 with alpha).
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
  int channels = FreeImage_GetBPP(loaded.get()) == 32 || type == FIT_RGBA16 || type == FIT_RGBAF ? 4 : 3;
  if (type == FIT_UINT16 || (type == FIT_BITMAP && (colours == FIC_MINISBLACK || colours == FIC_MINISWHITE))) {
    channels = 1;
  }
  return {UniqueBitmap(FreeImage_ConvertToRGBAF(loaded.get())), channels};
}

bool IsGrey(FIBITMAP* rgba) {
  for (unsigned y = 0; y < FreeImage_GetHeight(rgba); ++y) {
    const auto* row = reinterpret_cast<const FIRGBAF*>(FreeImage_GetScanLine(rgba, static_cast<int>(y)));
    for (unsigned x = 0; x < FreeImage_GetWidth(rgba); ++x) {
      if (row[x].red != row[x].green || row[x].green != row[x].blue) return false;
    }
  }
  return true;
}

// The largest difference of the colour channels and their PSNR.
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
  const double pixels = 3.0 * FreeImage_GetWidth(meant) * FreeImage_GetHeight(meant);
  return {largest, squares == 0 ? 999 : 10 * std::log10(pixels / squares)};
}

class IndependentReaders : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(WriteDngFile(folder_ / "in.dng", {.width = 64, .height = 64, .seed = 5})); }

  // Runs the conversion into a folder of its own; the written file's path, or "" when there is not one file.
  std::string Convert(const std::string& name, const std::string& format, int depth,
                      const std::vector<std::string>& options) {
    const std::string out = folder_ / name;
    std::filesystem::create_directory(out);
    std::vector<std::string> arguments = {"-q",
                                          "-i",
                                          folder_ / "in.dng",
                                          "-o",
                                          out,
                                          "-c",
                                          format,
                                          "--" + format + "-bpp=" + std::to_string(depth),
                                          "--filename-mask=f.%bpp%.%ext%",
                                          "--report=" + out + ".jsonl"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    EXPECT_EQ(RunProgramWith(arguments).exitCode, 0);
    const std::filesystem::directory_iterator entries(out);
    return std::distance(begin(entries), end(entries)) == 1 ? std::filesystem::directory_iterator(out)->path().string()
                                                            : "";
  }

  // The picture meant at a depth: the run written as uncompressed TIFF, read back by FreeImage.
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
  std::map<std::string, std::string> seen;  // labels by file content
  for (const Cell& cell : EveryCell()) {
    const std::string label = cell.format + " " + std::to_string(cell.depth) + " " + Join(cell.options);
    SCOPED_TRACE(label);
    const std::string name = "cell" + std::to_string(++run);
    const std::string file = Convert(name, cell.format, cell.depth, cell.options);
    if (file.empty()) continue;
    const int written = std::stoi(std::filesystem::path(file).stem().extension().string().substr(1));
    if (cell.depth != 0) EXPECT_EQ(written, cell.written != 0 ? cell.written : cell.depth);
    EXPECT_EQ(RunJq("select(.type == \"file\") | .detail // \"\"", folder_ / (name + ".jsonl")), cell.note);

    std::string& sameAs = seen[ReadFileBytes(file)];
    if (!sameAs.empty()) {
      std::cout << label << "->" << written << ": as " << sameAs << std::endl;
      continue;
    }
    sameAs = label;
    const Facts& facts = FactsOf(cell.format);
    const bool cmyk = cell.written != 0;
    const bool greyscale = std::count(cell.options.begin(), cell.options.end(), "--greyscale") != 0;
    const int greyFrom = greyscale ? 24 : written == 8 ? facts.greyFrom : 0;
    // A CMYK file holds the RGB picture of 3/4 its depth; a 16-bit file the 24-bit picture.
    const int meantDepth = greyFrom != 0 ? greyFrom : cmyk ? written * 3 / 4 : written == 16 ? 24 : written;
    const Picture& meant = Meant(meantDepth, greyFrom != 0);
    ASSERT_TRUE(meant.rgba);
    const bool grey = IsGrey(meant.rgba.get());
    const std::vector<Reader>& readers = cell.readers.empty() ? facts.readers : cell.readers;
    std::string line = label + "->" + std::to_string(written) + ":";
    for (const Reader reader : readers) {
      const std::string readerName = kReaderNames[static_cast<int>(reader)];
      const std::string handOver = Decode(reader, file, folder_ / (name + readerName), written, cmyk);
      const Picture read = handOver.empty() ? Picture{} : Load(handOver);
      EXPECT_TRUE(read.rgba) << readerName;
      if (!read.rgba) continue;
      EXPECT_EQ(FreeImage_GetWidth(read.rgba.get()), FreeImage_GetWidth(meant.rgba.get())) << readerName;
      EXPECT_EQ(FreeImage_GetHeight(read.rgba.get()), FreeImage_GetHeight(meant.rgba.get())) << readerName;
      const bool alpha = read.channels % 2 == 0;
      // A grey picture may come as three equal channels.
      EXPECT_TRUE(read.channels - alpha == 3 || (grey && read.channels - alpha == 1)) << readerName;
      if (facts.alphaAt >= 0) EXPECT_EQ(alpha, facts.alphaAt == written && !cmyk) << readerName;
      if (FreeImage_GetWidth(read.rgba.get()) != FreeImage_GetWidth(meant.rgba.get())) continue;
      const auto [largest, psnr] = Compare(read.rgba.get(), meant.rgba.get());
      const double minPsnr = cell.minPsnr >= 0 ? cell.minPsnr : facts.minPsnr;
      // Readers widen 16-bit files' 5 bits to 8 in different ways: within one 5-bit step.
      if (minPsnr == 0) EXPECT_LE(largest, written == 16 ? 8.5 / 255 : 1.0 / 65535) << readerName;
      if (minPsnr != 0) EXPECT_GE(psnr, minPsnr) << readerName;
      line += " " + readerName + (minPsnr == 0 ? " exact" : " " + std::to_string(std::lround(psnr)) + " dB");
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
