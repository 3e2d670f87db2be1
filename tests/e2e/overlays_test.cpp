// Frames and watermarks in the files lumivanecmd writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "dng/dng_writer.h"
#include "support/picture_pixels.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

constexpr Rgb kRed{255, 0, 0};

// A small DNG in a fresh folder, converted to PNG with the options given; each conversion gets its own output
// folder, so that two of them can be compared.
class OverlayRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(WriteDngFile(folder_ / "in.dng", {.width = 160, .height = 120, .seed = 7})); }

  UniqueBitmap Convert(const std::vector<std::string>& options, ProgramResult* result = nullptr) {
    const std::string output = folder_ / ("out" + std::to_string(++runs_));
    std::filesystem::create_directory(output);  // the output folder must exist
    std::vector<std::string> arguments = {"-q", "-i", folder_ / "in.dng", "-o", output, "-c", "png"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const ProgramResult run = RunProgramWith(arguments);
    EXPECT_EQ(run.errorOutput, "");
    if (result != nullptr) *result = run;
    return UniqueBitmap(FreeImage_Load(FIF_PNG, (output + "/in.png").c_str(), 0));
  }

  const TempDir& Folder() const { return folder_; }

 private:
  TempDir folder_;
  int runs_ = 0;
};

TEST_F(OverlayRun, FrameCoversTheOuterTenPixelsOfTheWrittenFile) {
  const UniqueBitmap plain = Convert({});
  const UniqueBitmap framed =
      Convert({"--fr-solid-left=10", "--fr-solid-right=10", "--fr-solid-top=10", "--fr-solid-bottom=10",
               "--fr-solid-left-color=FF0000", "--fr-solid-right-color=FF0000", "--fr-solid-top-color=FF0000",
               "--fr-solid-bottom-color=FF0000"});
  ASSERT_TRUE(plain && framed);
  const int width = static_cast<int>(FreeImage_GetWidth(plain.get()));
  const int height = static_cast<int>(FreeImage_GetHeight(plain.get()));
  ASSERT_EQ(FreeImage_GetWidth(framed.get()), FreeImage_GetWidth(plain.get()));
  ASSERT_EQ(FreeImage_GetHeight(framed.get()), FreeImage_GetHeight(plain.get()));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool band = x < 10 || y < 10 || x >= width - 10 || y >= height - 10;
      const Rgb expected = band ? kRed : *PixelOf(plain.get(), x, y);
      ASSERT_EQ(*PixelOf(framed.get(), x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(OverlayRun, TextWatermarkSitsTenPixelsFromTheRightAndBottomAndTurns) {
  const UniqueBitmap plain = Convert({});
  const std::vector<std::string> text = {"--wm-text=Lumivane", "--wm-back-color=0000FF", "--wm-back-opacity=255"};
  const UniqueBitmap marked = Convert(text);
  std::vector<std::string> turnedOptions = text;
  turnedOptions.push_back("--wm-text-rotation=90");
  const UniqueBitmap turned = Convert(turnedOptions);
  ASSERT_TRUE(plain && marked && turned);
  const int width = static_cast<int>(FreeImage_GetWidth(plain.get()));
  const int height = static_cast<int>(FreeImage_GetHeight(plain.get()));

  const ChangedArea box = FindChangedArea(marked.get(), plain.get());
  EXPECT_EQ(box.right, width - 10);
  EXPECT_EQ(box.bottom, height - 10);
  EXPECT_GT(box.Width(), box.Height());
  const ChangedArea turnedBox = FindChangedArea(turned.get(), plain.get());
  EXPECT_EQ(turnedBox.right, width - 10);
  EXPECT_EQ(turnedBox.bottom, height - 10);
  EXPECT_EQ(turnedBox.Width(), box.Height());
  EXPECT_EQ(turnedBox.Height(), box.Width());
}

TEST_F(OverlayRun, PictureWatermarkInsideTheFrame) {
  const std::string picture = WriteSolidPng(Folder(), "mark.png", 16, 12, kRed);
  const std::vector<std::string> frame = {"--fr-solid-left=20", "--fr-solid-right=20", "--fr-solid-top=20",
                                          "--fr-solid-bottom=20"};
  std::vector<std::string> marked = frame;
  marked.insert(marked.end(), {"--wm-image=" + picture, "--wm-image-position=TOPLEFT", "--wm-image-boundary=FRAME"});
  const UniqueBitmap framed = Convert(frame);
  const UniqueBitmap both = Convert(marked);
  ASSERT_TRUE(framed && both);
  const ChangedArea changed = FindChangedArea(both.get(), framed.get());
  EXPECT_EQ(changed.left, 30);
  EXPECT_EQ(changed.top, 30);
  EXPECT_EQ(changed.Width(), 16);
  EXPECT_EQ(changed.Height(), 12);
  EXPECT_EQ(*PixelOf(both.get(), 35, 35), kRed);
}

// Opaque pixels land exactly, whichever BMP header holds them; at other opacities the blend rounds once. The mark
// sits 10 pixels from the top-left corner.
TEST_F(OverlayRun, PictureWatermarksLandWithTheirOwnColours) {
  const UniqueBitmap plain = Convert({});
  ASSERT_TRUE(plain);
  const Rgb grey{76, 76, 76};
  const std::string png = WriteSolidPng(Folder(), "grey.png", 8, 6, grey);
  const std::string v5 = Folder() / "v5.bmp", alpha = Folder() / "alpha.bmp";  // ImageMagick's default header
  ASSERT_EQ(RunCommand({"/usr/bin/convert", png, v5}).exitCode, 0);
  ASSERT_EQ(RunCommand({"/usr/bin/convert", png, "xc:none[8x6]", "+append", alpha}).exitCode, 0);
  for (const std::string& picture : {png, v5, alpha}) {
    SCOPED_TRACE(picture);
    const UniqueBitmap marked = Convert({"--wm-image=" + picture, "--wm-image-position=TOPLEFT"});
    ASSERT_TRUE(marked);
    const ChangedArea changed = FindChangedArea(marked.get(), plain.get(), 0);
    EXPECT_EQ(changed.Width(), 8);  // the transparent half leaves the picture as it was
    EXPECT_EQ(*PixelOf(marked.get(), 13, 13), grey);
  }
  const UniqueBitmap half = Convert({"--wm-image=" + png, "--wm-image-position=TOPLEFT", "--wm-image-opacity=128"});
  ASSERT_TRUE(half);
  const Rgb below = *PixelOf(plain.get(), 13, 13);
  const auto blend = [](int mark, int picture) { return (mark * 128 + picture * 127 + 127) / 255; };
  EXPECT_EQ(*PixelOf(half.get(), 13, 13), (Rgb{blend(76, below.r), blend(76, below.g), blend(76, below.b)}));
}

TEST_F(OverlayRun, AWatermarkThatDoesNotFitIsLeftOutAndTheFileIsStillWritten) {
  const std::string picture = WriteSolidPng(Folder(), "mark.png", 16, 12, kRed);
  const UniqueBitmap plain = Convert({});
  ASSERT_TRUE(plain);
  const std::vector<std::string> cases[] = {
      {"--wm-text=Left out", "--wm-text-position=TOPLEFT", "--wm-text-x-offset=-5"},
      {"--wm-text=Left out", "--wm-text-y-offset=99999"},
      {"--wm-image=" + picture, "--wm-image-position=MIDDLECENTER", "--wm-image-x-offset=2147483647"},
  };
  for (const auto& options : cases) {
    SCOPED_TRACE(options.back());
    ProgramResult result;
    const UniqueBitmap marked = Convert(options, &result);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_TRUE(marked);
    EXPECT_EQ(FindChangedArea(marked.get(), plain.get(), 0).count, 0);
  }
}

TEST_F(OverlayRun, UntrustedFrameWidthsConvertTheFile) {
  const UniqueBitmap plain = Convert({});
  ProgramResult result;
  const UniqueBitmap covered =
      Convert({"--fr-solid-top=99999", "--fr-solid-left=-30", "--fr-solid-top-color=00FF00"}, &result);
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_TRUE(plain && covered);
  EXPECT_EQ(FreeImage_GetWidth(covered.get()), FreeImage_GetWidth(plain.get()));
  EXPECT_EQ(FindChangedArea(covered.get(), Rgb{0, 255, 0}, 0).count, 0);  // the top side covers all of it

  const UniqueBitmap negative = Convert({"--fr-solid-left=-30", "--fr-solid-bottom=-1"}, &result);
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_TRUE(negative);
  EXPECT_EQ(FindChangedArea(negative.get(), plain.get(), 0).count, 0);
}

}  // namespace
}  // namespace lumivane::testing
