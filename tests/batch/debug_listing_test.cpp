#include "batch/debug_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "formats/registry.h"
#include "settings/settings_table.h"
#include "support/picture_pixels.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

using Lines = std::vector<std::string>;

class DebugListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildRegistry();
    ResetSettings(settings_, true);
    inputGroup_ = "raw";
    outputFormat_ = "jpg";
  }

  SettingsReview Review(bool list = true) const { return ReviewSettings(settings_, inputGroup_, outputFormat_, list); }

  Settings settings_;
  std::string inputGroup_;    // the input format group whose decoding options are listed
  std::string outputFormat_;  // the output format whose encoder options are listed
};

const Lines kRawGroup = {"RAW Load As: auto", "RAW Header Size: 0", "RAW Image Width: 0", "RAW Image Height: 0",
                         "RAW Tone Mapping: al"};

TEST_F(DebugListingTest, JpgRunListsTheRawGroupTheJpgLinesAndTheAlwaysRowsInOrder) {
  settings_.output.jpgQuality = 90;
  const SettingsReview review = Review();
  Lines expected = kRawGroup;
  const Lines rest = {"JPG BPP: 0",         "JPG Quality: 90",   "JPG Chroma Subsampling: none",
                      "JPG Save As: standard", "Flip Horizontal: 0", "Flip Vertical: 0",
                      "Greyscale: 0",       "Frame: none",       "Watermark: none",
                      "Filename Mask: %filename%.%ext%", "File Timestamp: current", "Keep Subfolders: 1"};
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(review.lines, expected);
  EXPECT_EQ(review.error, "");
  EXPECT_FALSE(review.watermarkFont.IsFont());
}

TEST_F(DebugListingTest, EveryGroupSwitchedOnListsEveryLineOfItsTableInOrder) {
  outputFormat_ = "tiff";
  settings_.output.tiffBpp = 24;
  settings_.output.tiffCompression = TiffCompression::kCcittFax3;
  settings_.output.tiffColorMode = ColorMode::kCmyk;
  Settings::Transform& t = settings_.transform;
  t.doImageRotation = 1, t.imageRotationType = RotationType::kAdvanced, t.imageRotation = 90;
  t.imageRotationBackColor = "FF0000";
  t.doImageResize = 1, t.imageWidth = 50, t.imageWidthUnit = SizeUnit::kPercent, t.imageHeight = -40;
  t.imageHeightUnit = SizeUnit::kPixels, t.keepAspectRatio = 1, t.imageResizeType = ResizeType::kLargeImages;
  t.imageResizeAlgorithm = ResizeAlgorithm::kLanczos, t.doImageFlipHorizontal = 1;
  Settings::Adjustment& a = settings_.adjustment;
  a.doImageColorCorrection = 1, a.imageBrightness = -5, a.imageContrast = 7, a.imageGamma = 2.2f, a.imageInvert = 1;
  a.doImageGreyscale = 1, a.doImageThreshold = 1, a.imageThreshold = 128, a.doImageDither = 1;
  a.imageDitherAlgorithm = DitherAlgorithm::kBayer8;
  Settings::Frame& f = settings_.frame;
  f.doFrame = FrameKind::kSolid, f.solidLeft = 1, f.solidRight = 2, f.solidTop = 3, f.solidBottom = 4;
  f.solidLeftColor = "111111", f.solidRightColor = "222222", f.solidTopColor = "333333";
  f.solidBottomColor = "444444", f.solidOpacity = 200;
  Settings::Watermark& w = settings_.watermark;
  w.doWatermark = WatermarkKind::kText, w.text = "Shot %n%", w.font = "Arial", w.fontSize = 12, w.fontLeading = 2;
  w.fontColor = "ABCDEF", w.fontStyle = FontStyle::kBoldItalic, w.fontEffect = FontEffect::kStrikeout;
  w.textAntialiasing = 1, w.textAlignment = TextAlignment::kCenter;
  w.textPadding = 5, w.textOpacity = 128, w.backColor = "010203", w.backOpacity = 64, w.textBoundary = Boundary::kFrame;
  w.textPosition = Position::kMiddleCenter, w.textXOffset = -3, w.textYOffset = 9, w.textRotation = 45;
  settings_.advanced.fileTimestamp = FileTimestamp::kCustom, settings_.advanced.customTimestamp = 1234567;
  settings_.advanced.keepSubfolders = 0, settings_.advanced.filenameMask = "%n%-%filename%";

  const SettingsReview review = Review();
  Lines expected = kRawGroup;
  const Lines rest = {
      "TIFF BPP: 24", "TIFF Compression: ccittfax3", "TIFF Color Mode: cmyk",
      "Image Rotation Type: advanced", "Image Rotation: 90", "Image Rotation Back Color: FF0000",
      "Width: 50 percent", "Height: -40 pixels", "Keep Aspect Ratio: 1", "Image Resize Type: largeimages",
      "Image Resize Algorithm: lanczos", "Flip Horizontal: 1", "Flip Vertical: 0",
      "Brightness: -5", "Contrast: 7", "Gamma: 2.20", "Invert: 1", "Greyscale: 1", "Image Threshold: 128",
      "Image Dithering Algorithm: bayer8", "Frame: solid", "Frame left: 1", "Frame right: 2", "Frame top: 3",
      "Frame bottom: 4", "Frame left color: 111111", "Frame right color: 222222", "Frame top color: 333333",
      "Frame bottom color: 444444", "Frame opacity: 200", "Watermark: text", "Watermark text: Shot %n%",
      "Watermark font: Arial", "Watermark font size: 12", "Watermark font leading: 2",
      "Watermark font color: ABCDEF", "Watermark font style: bolditalic", "Watermark font effect: strikethrought",
      "Watermark text antialiasing: 1", "Watermark text alignment: center", "Watermark text padding: 5",
      "Watermark text opacity: 128", "Watermark background color: 010203", "Watermark background opacity: 64",
      "Watermark boundary: frame", "Watermark position: middlecenter", "Watermark offset (x/y): -3/9",
      "Watermark rotation: 45", "Watermark size/mode: fixed", "Filename Mask: %n%-%filename%",
      "File Timestamp: custom", "Custom Timestamp: 1234567", "Keep Subfolders: 0"};
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(review.lines, expected);
  EXPECT_EQ(review.error, "");
  EXPECT_TRUE(review.watermarkFont.IsFont());  // kept for the batch
}

TEST_F(DebugListingTest, ImageWatermarkListsItsOwnGroupAndPassesWithAnExistingPicture) {
  const TempDir dir;
  settings_.watermark.doWatermark = WatermarkKind::kImage;
  settings_.watermark.image = WriteSolidPng(dir, "logo.png", 4, 3, {255, 0, 0});
  settings_.watermark.imageGreyscale = 1, settings_.watermark.imageOpacity = 77;
  settings_.watermark.imageBoundary = Boundary::kImage, settings_.watermark.imagePosition = Position::kTopLeft;
  settings_.watermark.imageXOffset = 4, settings_.watermark.imageYOffset = -6;
  settings_.watermark.imageRotation = 10;
  const SettingsReview review = Review();
  const Lines group = {"Watermark: image", "Watermark image: " + settings_.watermark.image, "Watermark greyscale: 1",
                       "Watermark opacity: 77", "Watermark boundary: image", "Watermark position: topleft",
                       "Watermark offset (x/y): 4/-6", "Watermark rotation: 10", "Watermark size/mode: fixed",
                       "Filename Mask: %filename%.%ext%"};
  const auto at = std::search(review.lines.begin(), review.lines.end(), group.begin(), group.end());
  EXPECT_NE(at, review.lines.end());
  EXPECT_EQ(review.error, "");
  EXPECT_FALSE(review.watermarkFont.IsFont());
}

TEST_F(DebugListingTest, InputGroupLinesFollowTheJobsInputFormat) {
  const struct {
    const char* group;
    Lines lines;
  } cases[] = {
      {"tiff", {"TIFF Frame Loading: all"}},
      {"dds", {"DDS Load As: auto"}},
      {"gif", {"GIF Frame Loading: all"}},
      {"ico", {"ICO Frame Loading: all"}},
      {"psd", {"PSD Color Mode: rgb"}},
      {"png", {}},
  };
  for (const auto& c : cases) {
    inputGroup_ = c.group;
    const SettingsReview review = Review();
    const Lines head(review.lines.begin(), review.lines.begin() + static_cast<long>(c.lines.size()));
    EXPECT_EQ(head, c.lines) << c.group;
    EXPECT_EQ(review.lines.at(c.lines.size()), "JPG BPP: 0") << c.group;
  }
  inputGroup_ = "raw";
  settings_.input.rawLoadAs = RawLoadAs::k48HalfSize;
  settings_.input.rawToneMapping = static_cast<ToneMapping>(9);  // no keyword names it
  const SettingsReview review = Review();
  EXPECT_EQ(review.lines.at(0), "RAW Load As: 48hs");
  EXPECT_EQ(review.lines.at(4), "RAW Tone Mapping: ");
}

TEST_F(DebugListingTest, CompressionLinesNameTheFormatsOwnKeyword) {
  // Every compression option stores the number a keyword has in its own format's list: "LZW" stores 6 for any.
  const struct {
    const char* format;
    int code;
    const char* line;
  } cases[] = {
      {"bmp", CodeOf(RleCompression::kRle), "BMP Compression: rle"},
      {"bmp", CodeOf(TiffCompression::kLzw), "BMP Compression: "},
      {"exr", CodeOf(ExrCompression::kB44), "EXR Compression: b44"},
      {"png", CodeOf(PngCompression::kZlib9), "PNG Compression: zlib9"},
      {"tga", CodeOf(RleCompression::kRle), "TGA Compression: rle"},
      {"tiff", CodeOf(TiffCompression::kCcittFax3), "TIFF Compression: ccittfax3"},
      {"tiff", CodeOf(TiffCompression::kLzw), "TIFF Compression: lzw"},
      {"tiff", CodeOf(TiffCompression::kLogLuv) + 1, "TIFF Compression: "},
  };
  for (const auto& c : cases) {
    outputFormat_ = c.format;
    for (const char* setting : {"Output/BMP Compression", "Output/EXR Compression", "Output/PNG Compression",
                                "Output/TGA Compression", "Output/TIFF Compression"}) {
      ASSERT_TRUE(SetSetting(settings_, *FindSetting(setting), c.code)) << setting;
    }
    const SettingsReview review = Review();
    EXPECT_EQ(review.lines.at(kRawGroup.size() + 1), c.line) << c.format << " " << c.code;
  }
}

// The listing's part for the output format: its bit-depth line first, then only its own lines.
TEST_F(DebugListingTest, EveryOutputFormatListsItsBitDepthAndOnlyItsOwnLines) {
  const struct {
    const char* format;
    Lines further;
  } cases[] = {
      {"bmp", {"BMP Compression: none", "BMP Color Table: auto"}},
      {"exr", {"EXR Compression: none"}},
      {"png", {"PNG Compression: none", "PNG Interlaced: 0"}},
      {"webp", {"WEBP Quality: 100"}},
      {"gif", {}},
      {"psd", {}},
  };
  for (const auto& c : cases) {
    outputFormat_ = c.format;
    const SettingsReview review = Review();
    std::string upper = c.format;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    Lines expected = {upper + " BPP: 0"};
    expected.insert(expected.end(), c.further.begin(), c.further.end());
    expected.push_back("Flip Horizontal: 0");
    const Lines part(review.lines.begin() + static_cast<long>(kRawGroup.size()),
                     review.lines.begin() + static_cast<long>(kRawGroup.size() + expected.size()));
    EXPECT_EQ(part, expected) << c.format;
  }
}

TEST_F(DebugListingTest, EachFormatRefusesADepthItDoesNotAllowWithItsOwnMessage) {
  for (const OutputFormat& format : OutputFormatTable()) {
    const std::string id(format.identifier);
    outputFormat_ = id;
    Settings settings = settings_;
    settings_.output = Settings::Output{};  // every depth 0 (automatic), every quality 0
    settings_.output.jpgQuality = settings_.output.webpQuality = 50;
    EXPECT_EQ(Review().error, "") << id << " with automatic depth";

    const std::string upper = [&] {
      std::string text = id;
      for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      return text;
    }();
    SetSetting(settings_, *FindSetting("Output/" + upper + " BPP"), 2);  // no format allows 2 bits
    SettingsReview review = Review();
    EXPECT_EQ(review.error, "Invalid " + id + "-bpp value");
    EXPECT_EQ(review.lines.at(kRawGroup.size()), upper + " BPP: 2");

    const std::string firstAllowed(format.allowedBitDepths.substr(0, format.allowedBitDepths.find(',')));
    SetSetting(settings_, *FindSetting("Output/" + upper + " BPP"), std::stoi(firstAllowed));
    EXPECT_EQ(Review().error, "") << id << " at " << firstAllowed;
    settings_ = settings;
  }
}

TEST_F(DebugListingTest, OnlyTheOutputFormatsOwnDepthAndQualityAreChecked) {
  settings_.output.bmpBpp = 2;
  settings_.output.webpQuality = 0;
  EXPECT_EQ(Review().error, "");

  const struct {
    const char* format;
    int jpgQuality;
    int webpQuality;
    const char* error;
  } cases[] = {
      {"jpg", 0, 50, "Invalid jpg-quality value"}, {"jpg", 101, 50, "Invalid jpg-quality value"},
      {"jpg", 1, 0, ""},    {"jpg", 100, 101, ""},
      {"webp", 50, 0, "Invalid webp-quality value"}, {"webp", 50, 101, "Invalid webp-quality value"},
      {"webp", 0, 1, ""},   {"webp", 101, 100, ""},
      {"png", 0, 0, ""},
  };
  for (const auto& c : cases) {
    outputFormat_ = c.format;
    settings_.output.jpgQuality = c.jpgQuality;
    settings_.output.webpQuality = c.webpQuality;
    EXPECT_EQ(Review().error, c.error) << c.format << " " << c.jpgQuality << " " << c.webpQuality;
  }
}

// A failed check ends the listing right after the lines of its own group.
TEST_F(DebugListingTest, ACheckFailsAfterItsGroupsLinesAndNothingFollows) {
  const struct {
    const char* name;
    void (*change)(Settings&);
    const char* lastLine;
    const char* error;
  } cases[] = {
      {"depth", [](Settings& s) { s.output.jpgBpp = 16; }, "JPG Save As: standard", "Invalid jpg-bpp value"},
      {"quality", [](Settings& s) { s.output.jpgQuality = 0; }, "JPG Save As: standard",
       "Invalid jpg-quality value"},
      {"width", [](Settings& s) { s.transform.doImageResize = 1; }, "Width: 0 pixels", "Invalid width value"},
      {"height",
       [](Settings& s) {
         s.transform.doImageResize = 1;
         s.transform.imageWidth = 10;
       },
       "Height: 0 pixels", "Invalid height value"},
      {"brightness",
       [](Settings& s) {
         s.adjustment.doImageColorCorrection = 1;
         s.adjustment.imageBrightness = 101;
       },
       "Brightness: 101", "Invalid brightness value"},
      {"contrast",
       [](Settings& s) {
         s.adjustment.doImageColorCorrection = 1;
         s.adjustment.imageContrast = -101;
       },
       "Contrast: -101", "Invalid contrast value"},
      {"gamma",
       [](Settings& s) {
         s.adjustment.doImageColorCorrection = 1;
         s.adjustment.imageGamma = 10.0f;
       },
       "Gamma: 10.00", "Invalid gamma value"},
      {"font",
       [](Settings& s) {
         s.watermark.doWatermark = WatermarkKind::kText;
         s.watermark.font = "No Such Face Anywhere";
       },
       "Watermark size/mode: fixed", "Invalid watermark font"},
      {"image",
       [](Settings& s) {
         s.watermark.doWatermark = WatermarkKind::kImage;
         s.watermark.image = "/nonexistent/logo.png";
       },
       "Watermark size/mode: fixed", "Invalid watermark image"},
  };
  for (const auto& c : cases) {
    Settings settings = settings_;
    c.change(settings_);
    const SettingsReview listed = Review(true);
    ASSERT_FALSE(listed.lines.empty()) << c.name;
    EXPECT_EQ(listed.lines.back(), c.lastLine) << c.name;
    EXPECT_EQ(listed.error, c.error) << c.name;
    EXPECT_FALSE(listed.watermarkFont.IsFont()) << c.name;
    const SettingsReview silent = Review(false);
    EXPECT_TRUE(silent.lines.empty()) << c.name;
    EXPECT_EQ(silent.error, c.error) << c.name;  // checks run without the listing too
    settings_ = settings;
  }
}

TEST_F(DebugListingTest, GammaIsShownWithTwoDecimalsAndCheckedInSinglePrecision) {
  settings_.adjustment.doImageColorCorrection = 1;
  const struct {
    float gamma;
    const char* line;
    bool valid;
  } cases[] = {
      {1.0f, "Gamma: 1.00", true},      {0.01f, "Gamma: 0.01", true},   {9.99f, "Gamma: 9.99", true},
      {0.009f, "Gamma: 0.01", false},   {10.0f, "Gamma: 10.00", false}, {-1.0f, "Gamma: -1.00", false},
      {std::numeric_limits<float>::quiet_NaN(), nullptr, false},
  };
  for (const auto& c : cases) {
    settings_.adjustment.imageGamma = c.gamma;
    const SettingsReview review = Review();
    if (c.line != nullptr) {
      EXPECT_NE(std::find(review.lines.begin(), review.lines.end(), c.line), review.lines.end()) << c.gamma;
    }
    EXPECT_EQ(review.error, c.valid ? "" : "Invalid gamma value") << c.gamma;
  }
}

TEST_F(DebugListingTest, BrightnessAndContrastBoundsAreInclusive) {
  settings_.adjustment.doImageColorCorrection = 1;
  const struct {
    int brightness;
    int contrast;
    const char* error;
  } cases[] = {
      {-100, 100, ""},
      {100, -100, ""},
      {101, 0, "Invalid brightness value"},
      {-101, 0, "Invalid brightness value"},
      {0, 101, "Invalid contrast value"},
      {101, 101, "Invalid brightness value"},  // the first failure wins
  };
  for (const auto& c : cases) {
    settings_.adjustment.imageBrightness = c.brightness;
    settings_.adjustment.imageContrast = c.contrast;
    EXPECT_EQ(Review().error, c.error) << c.brightness << " " << c.contrast;
  }
}

TEST_F(DebugListingTest, EditChecksApplyOnlyWhileTheirEditIsOn) {
  settings_.transform.imageWidth = 0;  // resize off: never checked
  settings_.adjustment.imageGamma = 0.0f;
  settings_.adjustment.imageBrightness = 500;
  settings_.watermark.image = "/nonexistent/logo.png";
  settings_.watermark.font = "No Such Face Anywhere";
  EXPECT_EQ(Review().error, "");

  settings_.transform.doImageResize = 1;
  settings_.transform.imageWidth = -5;  // negative sizes pass
  settings_.transform.imageHeight = -1;
  EXPECT_EQ(Review().error, "");

  settings_.watermark.doWatermark = WatermarkKind::kText;  // a text watermark does not need the picture
  settings_.watermark.font = "Arial";
  EXPECT_EQ(Review().error, "");
}

TEST_F(DebugListingTest, WatermarkFontNeedsAKnownFaceAndASizeOfAtLeastOne) {
  settings_.watermark.doWatermark = WatermarkKind::kText;
  using enum FontStyle;
  const struct {
    const char* face;
    int size;
    FontStyle style;
    bool valid;
  } cases[] = {
      {"Arial", 14, kRegular, true}, {"Arial", 1, kBoldItalic, true},   {"DejaVu Sans", 30, kBold, true},
      {"Arial", 0, kRegular, false}, {"Arial", -3, kRegular, false}, {"No Such Face Anywhere", 14, kRegular, false},
  };
  for (const auto& c : cases) {
    settings_.watermark.font = c.face;
    settings_.watermark.fontSize = c.size;
    settings_.watermark.fontStyle = c.style;
    const SettingsReview review = Review(false);
    EXPECT_EQ(review.error, c.valid ? "" : "Invalid watermark font") << c.face << " " << c.size;
    EXPECT_EQ(review.watermarkFont.IsFont(), c.valid) << c.face << " " << c.size;
  }
}

TEST_F(DebugListingTest, WatermarkPictureMustDecode) {
  const TempDir dir;
  settings_.watermark.doWatermark = WatermarkKind::kImage;
  const struct {
    std::string path;
    bool valid;
  } cases[] = {
      {WriteSolidPng(dir, "logo.png", 4, 3, {255, 0, 0}), true},
      {dir.WriteFile("broken.png", "x"), false},  // a file that no decoder reads ends the run before any is touched
      {dir.WriteFile("empty.png", ""), false},
      {dir.path().string(), false},  // a folder is no picture
      {dir / "missing.png", false},
      {"", false},
  };
  for (const auto& c : cases) {
    settings_.watermark.image = c.path;
    EXPECT_EQ(Review(false).error, c.valid ? "" : "Invalid watermark image") << c.path;
  }
}

TEST_F(DebugListingTest, CustomTimestampIsListedOnlyForTheCustomSetting) {
  for (const FileTimestamp timestamp : {FileTimestamp::kCurrent, FileTimestamp::kOriginal, FileTimestamp::kCustom}) {
    settings_.advanced.fileTimestamp = timestamp;
    settings_.advanced.customTimestamp = -7;
    const SettingsReview review = Review();
    const bool listed =
        std::find(review.lines.begin(), review.lines.end(), "Custom Timestamp: -7") != review.lines.end();
    EXPECT_EQ(listed, timestamp == FileTimestamp::kCustom) << CodeOf(timestamp);
  }
}

}  // namespace
}  // namespace lumivane::testing
