// What the generated reference says about options comes from the program's tables; these cases check that it is
// read from them correctly (defaults, keywords, the edits switched on, the main options of the help screen).
#include "reference/reference_model.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumivane::testing {
namespace {

using reference::AdvancedOption;
using reference::ReferenceModel;

ReferenceModel Model() {
  std::vector<std::string> problems;
  const auto model = reference::BuildReferenceModel(problems);
  for (const std::string& problem : problems) ADD_FAILURE() << problem;
  return model.value_or(ReferenceModel{});
}

const AdvancedOption* Find(const ReferenceModel& model, const std::string& name) {
  const auto found = std::find_if(model.advancedOptions.begin(), model.advancedOptions.end(),
                                  [&](const AdvancedOption& option) { return option.name == name; });
  return found == model.advancedOptions.end() ? nullptr : &*found;
}

TEST(ReferenceModel, MainOptionsAreTheHelpScreensNonAdvancedOptionsThenTheCommandLinesOthers) {
  const ReferenceModel model = Model();
  struct Expected {
    std::vector<std::string> shortNames;
    std::string longName, placeholder;
  };
  const std::vector<Expected> expected = {
      {{"-h", "-?"}, "--help", ""}, {{"-i"}, "--input", "FILE"},
      {{"-o"}, "--output", "PATH"}, {{"-c"}, "--conversion", "STR"},
      {{}, "--profile", "FILE"},    {{"-q"}, "--quiet", ""},
      {{"-d"}, "--debug", ""},      {{"-p"}, "--pause", ""},
      {{"-v"}, "--version", ""},    {{}, "--jobs", ""},
      {{}, "--progress", ""},       {{}, "--report", ""},
      {{}, "--skip-existing", ""},  {{}, "--dry-run", ""},
      {{}, "--shard", ""},
  };
  ASSERT_EQ(model.mainOptions.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(model.mainOptions[i].shortNames, expected[i].shortNames) << expected[i].longName;
    EXPECT_EQ(model.mainOptions[i].longName, expected[i].longName);
    EXPECT_EQ(model.mainOptions[i].placeholder, expected[i].placeholder) << expected[i].longName;
  }
}

TEST(ReferenceModel, AdvancedOptionsShowTheirCommandLineDefaultsKeywordsAndSwitchedEdits) {
  const ReferenceModel model = Model();
  struct Case {
    const char* name;
    const char* defaultValue;
    std::vector<std::string> keywords;
    const char* switchesOn;
  };
  const Case cases[] = {
      {"--jpg-quality", "95", {}, ""},
      {"--gamma", "1.00", {}, "color correction step"},
      {"--width", "0", {}, "resize step"},
      {"--keep-aspect-ratio", "off", {}, ""},  // on in the windowed edition, off on the command line
      {"--no-subfolders", "off", {}, ""},      // subfolders are kept unless the option is given
      {"--png-interlaced", "off", {}, ""},
      {"--resize-algorithm", "BICUBIC", {"BOX", "BILINEAR", "BSPLINE", "BICUBIC", "CATMULLROM", "LANCZOS"}, ""},
      {"--raw-tone-mapping", "AL", {"NONE", "LINEAR", "AL", "DRR", "GD"}, ""},
      {"--bmp-compression", "NONE", {"NONE", "RLE"}, ""},
      {"--png-compression", "NONE", {"NONE", "ZLIB1", "ZLIB6", "ZLIB9"}, ""},
      {"--wm-text-position",
       "BOTTOMRIGHT",
       {"TOPLEFT", "TOPCENTER", "TOPRIGHT", "MIDDLELEFT", "MIDDLECENTER", "MIDDLERIGHT", "BOTTOMLEFT", "BOTTOMCENTER",
        "BOTTOMRIGHT"},
       ""},
      {"--dither", "FS", {"FS", "BAYER4", "BAYER8", "BAYER16", "CLUSTER6", "CLUSTER8", "CLUSTER16"}, "dither step"},
      {"--wm-text", "\xC2\xA9 2026 Tarnwick", {}, "text watermark"},
      {"--wm-image", "", {}, "image watermark"},
      {"--fr-solid-top", "0", {}, "solid frame"},
      {"--fr-solid-top-color", "000000", {}, ""},
      {"--filename-mask", "%filename%.%ext%", {}, ""},
  };
  for (const Case& entry : cases) {
    const AdvancedOption* option = Find(model, entry.name);
    ASSERT_NE(option, nullptr) << entry.name;
    EXPECT_EQ(option->defaultValue, entry.defaultValue) << entry.name;
    EXPECT_FALSE(option->defaultIsPhrase) << entry.name;
    EXPECT_EQ(option->keywords, entry.keywords) << entry.name;
    EXPECT_EQ(option->alsoSwitchesOn, entry.switchesOn) << entry.name;
  }
}

TEST(ReferenceModel, CompressionOptionsListTheirFormatsKeywordsAndSayOthersAreAccepted) {
  const ReferenceModel model = Model();
  for (const char* name :
       {"--bmp-compression", "--exr-compression", "--png-compression", "--tga-compression", "--tiff-compression"}) {
    const AdvancedOption* option = Find(model, name);
    ASSERT_NE(option, nullptr) << name;
    EXPECT_TRUE(option->acceptsOtherKeywords) << name;
    EXPECT_EQ(option->keywords.front(), "NONE") << name;
  }
  EXPECT_FALSE(Find(model, "--resize-algorithm")->acceptsOtherKeywords);
}

TEST(ReferenceModel, TheRunDependentTimestampDefaultIsDescribedNotPrinted) {
  const ReferenceModel model = Model();
  const AdvancedOption* option = Find(model, "--file-timestamp-custom");
  ASSERT_NE(option, nullptr);
  EXPECT_TRUE(option->defaultIsPhrase);
  EXPECT_EQ(option->defaultValue, "the time the run starts");
}

TEST(ReferenceModel, TheFrameOpacityNamesItsOtherSpelling) {
  const ReferenceModel model = Model();
  const AdvancedOption* commandLine = Find(model, "--fr-solid-opacity");
  const AdvancedOption* profile = Find(model, "--wm-solid-opacity");
  ASSERT_NE(commandLine, nullptr);
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(commandLine->scope, OptionScope::kCommandLineOnly);
  EXPECT_EQ(commandLine->nameElsewhere, "--wm-solid-opacity");
  EXPECT_EQ(profile->scope, OptionScope::kProfileOnly);
  EXPECT_EQ(profile->nameElsewhere, "--fr-solid-opacity");
  EXPECT_EQ(Find(model, "--width")->nameElsewhere, "");
}

TEST(ReferenceModel, FormatsListTheirBitDepthsAndOnlyTheirOwnEncoderOptions) {
  const ReferenceModel model = Model();
  ASSERT_EQ(model.outputFormats.size(), 23u);
  const auto find = [&](const std::string& id) {
    return *std::find_if(model.outputFormats.begin(), model.outputFormats.end(),
                         [&](const reference::OutputFormatEntry& format) { return format.identifier == id; });
  };
  EXPECT_EQ(find("jpg").bitDepths, (std::vector<std::string>{"8", "24"}));
  EXPECT_EQ(find("jpg").encoderOptions,
            (std::vector<std::string>{"--jpg-bpp", "--jpg-quality", "--jpg-chroma", "--jpg-save-as"}));
  // --tiff-frame-loading is an input option, not one of the TIFF encoder's.
  EXPECT_EQ(find("tiff").encoderOptions,
            (std::vector<std::string>{"--tiff-bpp", "--tiff-compression", "--tiff-color-mode"}));
  EXPECT_EQ(find("tiff").bitDepths, (std::vector<std::string>{"1", "4", "8", "24", "32", "48", "96"}));
}

TEST(ReferenceModel, RawExtensionsAreTheAcceptedOnesGroupedByCamera) {
  std::size_t count = 0;
  bool sawCanon = false;
  const ReferenceModel model = Model();
  for (const reference::RawExtensionGroup& group : model.rawExtensions) {
    count += group.extensions.size();
    if (group.description == "Canon Camera RAW Image") {
      sawCanon = true;
      EXPECT_EQ(group.extensions, (std::vector<std::string>{"cr2", "crw"}));
    }
  }
  EXPECT_EQ(count, 48u);
  EXPECT_TRUE(sawCanon);
}

}  // namespace
}  // namespace lumivane::testing
