#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "formats/registry.h"

namespace lumivane::testing {
namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

struct ExpectedOutputFormat {
  const char* identifier;
  std::int32_t encoderTypeId;  // the numbers the encoders expect, independent of the headers' names
  const char* description;
  std::vector<std::int32_t> depths;
};

const std::vector<ExpectedOutputFormat> kExpectedOutputFormats = {
    {"bmp", 0, "Windows or OS/2 Bitmap", {1, 4, 8, 16, 24, 32}},
    {"dds", 0x0437, "DirectDraw Surface", {32}},
    {"exr", 29, "ILM OpenEXR", {96}},
    {"gif", 25, "Graphics Interchange Format", {8}},
    {"hdr", 26, "High Dynamic Range Image", {96}},
    {"ico", 1, "Windows Icon", {1, 4, 8, 16, 24, 32}},
    {"j2k", 30, "JPEG-2000 Codestream", {8, 24, 32, 48}},
    {"jng", 3, "JPEG Network Graphics", {24, 32}},
    {"jp2", 31, "JPEG-2000 File Format", {8, 24, 32, 48}},
    {"jpg", 2, "JPEG File Format", {8, 24}},
    {"jxr", 36, "JPEG XR Image Format", {1, 8, 16, 24, 32, 48, 96}},
    {"pbm", 7, "Portable Bitmap", {1}},
    {"pcx", 0x0428, "ZSoft Paintbrush", {24}},
    {"pfm", 32, "Portable Floatmap", {96}},
    {"pgm", 11, "Portable Greymap", {8}},
    {"png", 13, "Portable Network Graphics", {1, 4, 8, 24, 32, 48}},
    {"ppm", 14, "Portable Pixelmap", {24, 48}},
    {"psd", 0x0439, "Adobe Photoshop", {32}},
    {"tga", 17, "Truevision Targa", {8, 16, 24, 32}},
    {"tiff", 18, "Tagged Image File Format", {1, 4, 8, 24, 32, 48, 96}},
    {"wbmp", 19, "Wireless Bitmap", {1}},
    {"webp", 35, "Google WebP Image Format", {24, 32}},
    {"xpm", 23, "X11 Pixmap Format", {24}},
};

std::string JoinDepths(const std::vector<std::int32_t>& depths) {
  std::string text;
  for (std::int32_t depth : depths) text += (text.empty() ? "" : ",") + std::to_string(depth);
  return text;
}

TEST(OutputFormats, EveryRowHoldsItsEncoderDescriptionAndDepths) {
  ASSERT_EQ(OutputFormatList().size(), kExpectedOutputFormats.size());
  ASSERT_EQ(OutputFormatTable().size(), kExpectedOutputFormats.size());
  for (std::size_t i = 0; i < kExpectedOutputFormats.size(); ++i) {
    const ExpectedOutputFormat& expected = kExpectedOutputFormats[i];
    SCOPED_TRACE(expected.identifier);
    EXPECT_EQ(OutputFormatList()[i], expected.identifier);
    EXPECT_EQ(OutputFormatTable()[i].identifier, expected.identifier);
    const OutputFormat* row = FindOutputFormat(expected.identifier);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->identifier, expected.identifier);
    EXPECT_EQ(row->encoderTypeId, expected.encoderTypeId);
    EXPECT_EQ(row->description, expected.description);
    EXPECT_EQ(row->allowedBitDepths, JoinDepths(expected.depths));
  }
}

TEST(OutputFormats, EachFormatAllowsAutomaticAndExactlyItsDepths) {
  for (const ExpectedOutputFormat& expected : kExpectedOutputFormats) {
    for (std::int32_t bpp = -1; bpp <= 128; ++bpp) {
      const bool listed = std::find(expected.depths.begin(), expected.depths.end(), bpp) != expected.depths.end();
      EXPECT_EQ(IsAllowedBitDepth(expected.identifier, bpp), bpp == 0 || listed)
          << expected.identifier << " with " << bpp;
    }
  }
}

TEST(OutputFormats, ListStartsWithBmpAndEndsWithXpm) {
  ASSERT_FALSE(OutputFormatList().empty());
  EXPECT_EQ(OutputFormatList().front(), "bmp");
  EXPECT_EQ(OutputFormatList().back(), "xpm");
}

TEST(OutputFormats, IdentifiersAreComparedExactly) {
  struct Case {
    const char* identifier;
    bool isOutputFormat;
  };
  const Case cases[] = {
      {"jpg", true}, {"tiff", true}, {"wbmp", true}, {"xpm", true},   {"bmp", true},
      {"tif", false}, {"jpeg", false}, {"JPG", false}, {"Jpg", false}, {" jpg", false},
      {"jpg ", false}, {"", false}, {"raw", false}, {"nef", false},  {"bmpx", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsOutputFormat(c.identifier), c.isOutputFormat) << '"' << c.identifier << '"';
    EXPECT_EQ(FindOutputFormat(c.identifier) != nullptr, c.isOutputFormat) << '"' << c.identifier << '"';
  }
}

TEST(OutputFormats, AllowedBitDepthChecks) {
  struct Case {
    const char* identifier;
    std::int32_t bpp;
    bool allowed;
  };
  const Case cases[] = {
      {"jpg", 0, true},    {"jpg", 8, true},     {"jpg", 24, true},  {"jpg", 16, false},  {"jpg", 32, false},
      {"gif", 0, true},    {"gif", 8, true},     {"gif", 24, false}, {"psd", 0, true},    {"psd", 32, true},
      {"psd", 24, false},  {"dds", 0, true},     {"dds", 32, true},  {"dds", 8, false},   {"pcx", 0, true},
      {"pcx", 24, true},   {"pcx", 32, false},   {"pcx", 8, false},  {"nope", 0, true},   {"nope", 24, false},
      {"JPG", 24, false},  {"", 8, false},       {"tiff", 96, true}, {"tiff", 16, false}, {"bmp", 16, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsAllowedBitDepth(c.identifier, c.bpp), c.allowed) << c.identifier << " with " << c.bpp;
  }
}

TEST(OutputFormats, NearestAllowedBitDepth) {
  struct Case {
    const char* identifier;
    std::int32_t bpp;
    std::int32_t nearest;
  };
  const Case cases[] = {
      {"jpg", 16, 24},  {"jpg", 32, 24},  {"jpg", 48, 24},   {"jpg", 8, 8},     {"jpg", 1, 8},
      {"png", 2, 4},    {"png", 48, 48},  {"png", 96, 48},   {"png", 16, 24},   {"tiff", 16, 24},
      {"tiff", 97, 96}, {"exr", 24, 96},  {"exr", 128, 96},  {"bmp", 1, 1},     {"bmp", 0, 1},
      {"bmp", -5, 1},   {"pbm", 24, 1},   {"ppm", 32, 48},   {"tga", 12, 16},   {"jxr", 64, 96},
      {"nope", 24, 0},  {"nope", 0, 0},   {"JPG", 24, 0},    {"", 24, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NearestAllowedBitDepth(c.identifier, c.bpp), c.nearest) << c.identifier << " with " << c.bpp;
  }
}

struct ExpectedInputGroup {
  const char* group;
  const char* extensions;  // space-separated
  const char* description;
};

const std::vector<ExpectedInputGroup> kExpectedInputGroups = {
    {"bmp", "bmp rle dib", "Windows or OS/2 Bitmap"},
    {"dds", "dds", "DirectDraw Surface File"},
    {"emf", "emf emz", "Enhanced Metafile Format"},
    {"gif", "gif", "GIF File"},
    {"hdr", "hdr hdri", "High Dynamic Range File"},
    {"ico", "ico", "Windows Icon"},
    {"jpg", "jpg jpeg jpe jif", "JPEG File"},
    {"pcd", "pcd pcd1 pcds ppcd", "Kodak PhotoCD File"},
    {"pcx", "pcx", "ZSoft Paintbrush File"},
    {"pic", "pic pict pct", "Macintosh PICT"},
    {"png", "png", "Portable Network Graphics"},
    {"psd", "psd", "Adobe Photoshop File"},
    {"tga", "tga targa", "Truevision Targa"},
    {"tiff", "tiff tif", "Tagged Image File Format"},
    {"wmf", "wmf wmz", "Windows Metafile Format"},
    {"wmf", "apm", "Aldus Placeable Metafile"},
    {"raw", "raw raw1 raw2", "Camera RAW Image"},
    {"raw", "3fr", "Hasselblad Camera RAW Image"},
    {"raw", "arw sr2 srf", "Sony Camera RAW Image"},
    {"raw", "bay", "Casio Camera RAW Image"},
    {"raw", "bmq", "NuCore RAW Image"},
    {"raw", "cap iiq eip", "Phase One Camera RAW Image"},
    {"raw", "cine", "Phantom RAW Image"},
    {"raw", "cr2 crw", "Canon Camera RAW Image"},
    {"raw", "cs1", "Capture Shop RAW Image"},
    {"raw", "dc2 dcr drf dsc k25 kc2 kdc dcs", "Kodak Camera RAW Image"},
    {"raw", "dng", "Adobe Digital Negative Image"},
    {"raw", "erf", "Epson Camera RAW Image"},
    {"raw", "fff", "Imacon Camera RAW Image"},
    {"raw", "ia sti", "Sinar RAW Image"},
    {"raw", "mdc mrw", "Minolta Camera RAW Image"},
    {"raw", "mef mos", "Mamiya Camera RAW Image"},
    {"raw", "nef nrw", "Nikon Camera RAW Image"},
    {"raw", "orf", "Olympus Camera RAW Image"},
    {"raw", "pef ptx", "Pentax Camera RAW Image"},
    {"raw", "pxn", "Logitech Camera RAW Image"},
    {"raw", "qtk", "Apple Quicktake Camera RAW Image"},
    {"raw", "raf", "Fuji Camera RAW Image"},
    {"raw", "rdc", "Digital Foto Maker RAW Image"},
    {"raw", "rw2", "Panasonic Camera RAW Image"},
    {"raw", "rwz", "Rawzor Camera RAW Image"},
    {"raw", "x3f", "Sigma Camera RAW Image"},
    {"raw", "ari", "ARRI RAW Image"},
    {"raw", "r3d", "RED RAW Image"},
    {"raw", "rwl", "Leica Camera RAW Image"},
};

TEST(InputExtensions, EveryExtensionHasItsGroupAndDescription) {
  std::size_t total = 0;
  for (const ExpectedInputGroup& expected : kExpectedInputGroups) {
    for (const std::string& extension : Words(expected.extensions)) {
      SCOPED_TRACE(extension);
      ++total;
      const std::optional<InputExtension> row = FindInputExtension(extension);
      ASSERT_TRUE(row.has_value());
      EXPECT_EQ(row->extension, extension);
      EXPECT_EQ(row->group, expected.group);
      EXPECT_EQ(row->description, expected.description);
    }
  }
  EXPECT_EQ(total, 79u);
  EXPECT_EQ(InputExtensionTable().size(), total);  // and nothing else
}

TEST(InputExtensions, KeysAreLowerCaseExtensionsWithoutDot) {
  for (const char* missing : {"JPG", "Nef", ".nef", "cr3", "", "jpg ", "heic"}) {
    EXPECT_FALSE(FindInputExtension(missing).has_value()) << '"' << missing << '"';
  }
}

TEST(InputExtensions, OnlyRawIsAnAcceptedInputFormat) {
  EXPECT_EQ(InputFormatList(), std::vector<std::string>{"raw"});
}

TEST(InputExtensions, AcceptedListHoldsExactlyTheRawExtensions) {
  std::multiset<std::string> expected;
  for (const ExpectedInputGroup& group : kExpectedInputGroups) {
    if (std::string(group.group) != "raw") continue;
    for (const std::string& extension : Words(group.extensions)) expected.insert(extension);
  }
  const std::multiset<std::string> accepted(AcceptedExtensionList().begin(), AcceptedExtensionList().end());
  EXPECT_EQ(accepted.size(), 48u);
  EXPECT_EQ(accepted, expected);
}

TEST(InputExtensions, AcceptanceOfExtensions) {
  struct Case {
    const char* extension;
    bool accepted;
  };
  const Case cases[] = {
      {"nef", true},   {"NEF", true},    {"Nef", true},    {"nEf", true},   {"cr2", true},   {"CR2", true},
      {"3fr", true},   {"raw2", true},   {"cine", true},   {"rwl", true},   {"ia", true},    {"dcs", true},
      {"jpg", false},  {"JPG", false},   {"tif", false},   {"png", false},  {"apm", false},  {"raw", true},
      {"", false},     {".nef", false},  {"nef ", false},  {" nef", false}, {"ne", false},   {"nefx", false},
      {"cr3", false},  {"txt", false},   {"lst", false},   {"raw3", false}, {"i", false},    {"ari", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsAcceptedExtension(c.extension), c.accepted) << '"' << c.extension << '"';
  }
}

TEST(Registry, BuildingAgainChangesNothing) {
  BuildRegistry();
  const std::vector<std::string>* outputList = &OutputFormatList();
  const std::vector<std::string> acceptedBefore = AcceptedExtensionList();
  BuildRegistry();
  EXPECT_EQ(&OutputFormatList(), outputList);
  EXPECT_EQ(AcceptedExtensionList(), acceptedBefore);  // not appended a second time
  EXPECT_EQ(OutputFormatList().size(), 23u);
}

}  // namespace
}  // namespace lumivane::testing
