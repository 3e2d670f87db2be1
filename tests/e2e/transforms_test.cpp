// The geometric and colour edits as a user meets them: options on the command line, files written and read back.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "dng/dng_writer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/unique_bitmap.h"

namespace lumivane::testing {
namespace {

constexpr unsigned kWidth = 160;
constexpr unsigned kHeight = 120;

// Runs the program, waiting while another copy (say, of a test run elsewhere on this machine) holds the
// single-instance lock and makes it end at once with exit code 3.
ProgramResult RunAloneWith(const std::vector<std::string>& arguments) {
  constexpr int kExitAnotherCopy = 3;
  ProgramResult result = RunProgramWith(arguments);
  for (int attempt = 0; attempt < 100 && result.exitCode == kExitAnotherCopy; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    result = RunProgramWith(arguments);
  }
  return result;
}

// One conversion of a 160 x 120 camera file to PNG, named after the working size the mask shows.
struct Converted {
  std::string name;  // the written file's name; "" when not exactly one file was written
  UniqueBitmap image;
};

Converted Convert(const std::vector<std::string>& options) {
  const TempDir folder;
  DngContent content;
  content.width = kWidth;
  content.height = kHeight;
  const std::string input = folder / "shot.dng";
  if (!WriteDngFile(input, content)) return {};
  const std::string output = folder / "out";
  std::filesystem::create_directory(output);
  std::vector<std::string> arguments = {"-q", "-i", input, "-o", output, "-c", "png",
                                        "--filename-mask=%filename%_%width%x%height%.%ext%"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  const ProgramResult result = RunAloneWith(arguments);
  EXPECT_EQ(result.exitCode, 0) << result.output;
  EXPECT_EQ(result.errorOutput, "");
  std::vector<std::filesystem::path> written;
  for (const auto& entry : std::filesystem::directory_iterator(output)) written.push_back(entry.path());
  if (written.size() != 1) return {};
  return {written[0].filename().string(), UniqueBitmap(FreeImage_Load(FIF_PNG, written[0].c_str(), 0))};
}

// 8-bit red, green and blue of a pixel of a 24- or 32-bit image, (x, y) from the top-left corner.
std::array<int, 3> RgbAt(FIBITMAP* image, unsigned x, unsigned y) {
  RGBQUAD colour{};
  FreeImage_GetPixelColor(image, x, FreeImage_GetHeight(image) - 1 - y, &colour);
  return {colour.rgbRed, colour.rgbGreen, colour.rgbBlue};
}

// Every 8-bit sample of a 24-bit image, row by row from the bottom.
std::vector<int> Samples(FIBITMAP* image) {
  std::vector<int> samples;
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    const BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
    samples.insert(samples.end(), row, row + 3 * FreeImage_GetWidth(image));
  }
  return samples;
}

// Every 16-bit sample of a 48-bit image.
std::vector<int> Samples48(FIBITMAP* image) {
  std::vector<int> samples;
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    const auto* row = reinterpret_cast<const FIRGB16*>(FreeImage_GetScanLine(image, static_cast<int>(y)));
    for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x) {
      samples.insert(samples.end(), {row[x].red, row[x].green, row[x].blue});
    }
  }
  return samples;
}

double Mean(const std::vector<int>& samples) {
  double sum = 0;
  for (const int s : samples) sum += s;
  return samples.empty() ? 0.0 : sum / static_cast<double>(samples.size());
}

bool OnlyBlackAndWhite(FIBITMAP* image) {
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x) {
      const auto rgb = RgbAt(image, x, y);
      if (rgb != std::array<int, 3>{0, 0, 0} && rgb != std::array<int, 3>{255, 255, 255}) return false;
    }
  }
  return true;
}

TEST(Transforms, WrittenSizeAndMaskFollowRotationAndResizing) {
  const struct {
    std::vector<std::string> options;
    unsigned width, height;
  } cases[] = {
      {{}, 160, 120},
      {{"--rotation=90"}, 120, 160},
      {{"--rotation=90", "--rotation-type=advanced"}, 160, 120},
      {{"--rotation=450"}, 160, 120},
      {{"--rotation=-90"}, 160, 120},
      {{"--width=50", "--width-unit=percent", "--height=25", "--height-unit=percent"}, 80, 30},
      {{"--width=80", "--height=80", "--keep-aspect-ratio"}, 80, 60},
      {{"--width=80", "--height=80"}, 80, 80},
      {{"--rotation=90", "--width=80", "--height=80", "--keep-aspect-ratio"}, 60, 80},  // resized after rotating
      {{"--width=400", "--height=400", "--resize-type=largeimages"}, 160, 120},
      {{"--width=200", "--height=100", "--resize-type=largeimages"}, 200, 100},
      {{"--width=80", "--height=60", "--resize-algorithm=lanczos"}, 80, 60},
  };
  for (const auto& c : cases) {
    std::string label;
    for (const std::string& option : c.options) label += option + " ";
    SCOPED_TRACE(label);
    const Converted converted = Convert(c.options);
    ASSERT_NE(converted.image, nullptr);
    EXPECT_EQ(converted.name, "shot_" + std::to_string(c.width) + "x" + std::to_string(c.height) + ".png");
    EXPECT_EQ(FreeImage_GetWidth(converted.image.get()), c.width);
    EXPECT_EQ(FreeImage_GetHeight(converted.image.get()), c.height);
  }
}

TEST(Transforms, RotationCornersTakeTheBackColour) {
  const struct {
    const char* colour;
    std::array<int, 3> corner;
  } cases[] = {{"FF0000", {255, 0, 0}}, {"red", {0, 0, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.colour);
    const Converted converted = Convert({"--rotation=45", std::string("--rotation-back-color=") + c.colour});
    ASSERT_NE(converted.image, nullptr);
    FIBITMAP* image = converted.image.get();
    EXPECT_GT(FreeImage_GetWidth(image), kWidth);
    EXPECT_EQ(RgbAt(image, 0, 0), c.corner);
    EXPECT_EQ(RgbAt(image, FreeImage_GetWidth(image) - 1, FreeImage_GetHeight(image) - 1), c.corner);
  }
}

TEST(Transforms, FlipsMirrorTheWrittenPicture) {
  const Converted plain = Convert({});
  const Converted horizontal = Convert({"--flip-horizontal"});
  const Converted vertical = Convert({"--flip-vertical"});
  ASSERT_NE(plain.image, nullptr);
  ASSERT_NE(horizontal.image, nullptr);
  ASSERT_NE(vertical.image, nullptr);
  EXPECT_NE(RgbAt(plain.image.get(), 3, 5), RgbAt(plain.image.get(), kWidth - 4, 5));
  for (const auto& [x, y] : {std::pair{3U, 5U}, {100U, 7U}, {40U, 90U}}) {
    EXPECT_EQ(RgbAt(horizontal.image.get(), kWidth - 1 - x, y), RgbAt(plain.image.get(), x, y));
    EXPECT_EQ(RgbAt(vertical.image.get(), x, kHeight - 1 - y), RgbAt(plain.image.get(), x, y));
  }
}

TEST(Transforms, ColourCorrectionChangesTheWrittenPixels) {
  const Converted plain = Convert({});
  const Converted brighter = Convert({"--brightness=40"});
  const Converted darker = Convert({"--gamma=0.5"});
  const Converted inverted = Convert({"--invert"});
  ASSERT_NE(plain.image, nullptr);
  ASSERT_NE(brighter.image, nullptr);
  ASSERT_NE(darker.image, nullptr);
  ASSERT_NE(inverted.image, nullptr);
  const std::vector<int> before = Samples(plain.image.get());
  EXPECT_GT(Mean(Samples(brighter.image.get())), Mean(before) + 10);
  EXPECT_LT(Mean(Samples(darker.image.get())), Mean(before) - 10);
  const std::vector<int> after = Samples(inverted.image.get());
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) ASSERT_EQ(after[i], 255 - before[i]) << "sample " << i;
}

TEST(Transforms, ColourCorrectionOfDeepDataContinuesAt24Bits) {
  // Linear 48-bit data kept 48-bit to the encoder has samples of full 16-bit precision; corrected, it went
  // through 24 bits and back to the 48 bits of the source, so every sample written is an 8-bit level times 256.
  const std::vector<std::string> deep = {"--raw-load-as=48", "--raw-tone-mapping=none"};
  std::vector<std::string> corrected = deep;
  corrected.push_back("--brightness=20");
  const Converted plain = Convert(deep);
  const Converted adjusted = Convert(corrected);
  ASSERT_NE(plain.image, nullptr);
  ASSERT_NE(adjusted.image, nullptr);
  ASSERT_EQ(FreeImage_GetImageType(plain.image.get()), FIT_RGB16);
  ASSERT_EQ(FreeImage_GetImageType(adjusted.image.get()), FIT_RGB16);
  const std::vector<int> plainSamples = Samples48(plain.image.get());
  const std::vector<int> adjustedSamples = Samples48(adjusted.image.get());
  const auto fromEightBits = [](const std::vector<int>& samples) {
    for (const int s : samples) {
      if (s % 256 != 0) return false;
    }
    return true;
  };
  EXPECT_FALSE(fromEightBits(plainSamples));
  EXPECT_TRUE(fromEightBits(adjustedSamples));
  EXPECT_GT(Mean(adjustedSamples), Mean(plainSamples));
}

TEST(Transforms, ThresholdUsesTheLowByteOfItsLevel) {
  const Converted level300 = Convert({"--threshold=300"});
  const Converted level44 = Convert({"--threshold=44"});
  const Converted level200 = Convert({"--threshold=200"});
  ASSERT_NE(level300.image, nullptr);
  ASSERT_NE(level44.image, nullptr);
  ASSERT_NE(level200.image, nullptr);
  EXPECT_TRUE(OnlyBlackAndWhite(level300.image.get()));
  EXPECT_EQ(Samples(level300.image.get()), Samples(level44.image.get()));
  EXPECT_NE(Samples(level300.image.get()), Samples(level200.image.get()));
}

TEST(Transforms, GreyscaleThresholdAndDitherTogetherGiveBlackAndWhite) {
  const Converted converted = Convert({"--greyscale", "--threshold=128", "--dither=bayer8"});
  ASSERT_NE(converted.image, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(converted.image.get()), kWidth);
  EXPECT_TRUE(OnlyBlackAndWhite(converted.image.get()));
  const std::vector<int> samples = Samples(converted.image.get());
  EXPECT_GT(Mean(samples), 0.0);
  EXPECT_LT(Mean(samples), 255.0);
}

}  // namespace
}  // namespace lumivane::testing
