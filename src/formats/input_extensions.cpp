// The input extension table, the input format list and the accepted extension list derived from them.
#include <algorithm>
#include <array>

#include "formats/registry.h"
#include "platform/ascii_text.h"
#include "settings/product.h"

namespace lumivane {
namespace {

// One row per extension; rows of a group stay together so the table reads like a file dialog's filter list.
constexpr std::array<InputExtension, 79> kInputExtensions{{
    {"bmp", "bmp", "Windows or OS/2 Bitmap"},
    {"rle", "bmp", "Windows or OS/2 Bitmap"},
    {"dib", "bmp", "Windows or OS/2 Bitmap"},
    {"dds", "dds", "DirectDraw Surface File"},
    {"emf", "emf", "Enhanced Metafile Format"},
    {"emz", "emf", "Enhanced Metafile Format"},
    {"gif", "gif", "GIF File"},
    {"hdr", "hdr", "High Dynamic Range File"},
    {"hdri", "hdr", "High Dynamic Range File"},
    {"ico", "ico", "Windows Icon"},
    {"jpg", "jpg", "JPEG File"},
    {"jpeg", "jpg", "JPEG File"},
    {"jpe", "jpg", "JPEG File"},
    {"jif", "jpg", "JPEG File"},
    {"pcd", "pcd", "Kodak PhotoCD File"},
    {"pcd1", "pcd", "Kodak PhotoCD File"},
    {"pcds", "pcd", "Kodak PhotoCD File"},
    {"ppcd", "pcd", "Kodak PhotoCD File"},
    {"pcx", "pcx", "ZSoft Paintbrush File"},
    {"pic", "pic", "Macintosh PICT"},
    {"pict", "pic", "Macintosh PICT"},
    {"pct", "pic", "Macintosh PICT"},
    {"png", "png", "Portable Network Graphics"},
    {"psd", "psd", "Adobe Photoshop File"},
    {"tga", "tga", "Truevision Targa"},
    {"targa", "tga", "Truevision Targa"},
    {"tiff", "tiff", "Tagged Image File Format"},
    {"tif", "tiff", "Tagged Image File Format"},
    {"wmf", "wmf", "Windows Metafile Format"},
    {"wmz", "wmf", "Windows Metafile Format"},
    {"apm", "wmf", "Aldus Placeable Metafile"},
    {"raw", "raw", "Camera RAW Image"},
    {"raw1", "raw", "Camera RAW Image"},
    {"raw2", "raw", "Camera RAW Image"},
    {"3fr", "raw", "Hasselblad Camera RAW Image"},
    {"arw", "raw", "Sony Camera RAW Image"},
    {"sr2", "raw", "Sony Camera RAW Image"},
    {"srf", "raw", "Sony Camera RAW Image"},
    {"bay", "raw", "Casio Camera RAW Image"},
    {"bmq", "raw", "NuCore RAW Image"},
    {"cap", "raw", "Phase One Camera RAW Image"},
    {"iiq", "raw", "Phase One Camera RAW Image"},
    {"eip", "raw", "Phase One Camera RAW Image"},
    {"cine", "raw", "Phantom RAW Image"},
    {"cr2", "raw", "Canon Camera RAW Image"},
    {"crw", "raw", "Canon Camera RAW Image"},
    {"cs1", "raw", "Capture Shop RAW Image"},
    {"dc2", "raw", "Kodak Camera RAW Image"},
    {"dcr", "raw", "Kodak Camera RAW Image"},
    {"drf", "raw", "Kodak Camera RAW Image"},
    {"dsc", "raw", "Kodak Camera RAW Image"},
    {"k25", "raw", "Kodak Camera RAW Image"},
    {"kc2", "raw", "Kodak Camera RAW Image"},
    {"kdc", "raw", "Kodak Camera RAW Image"},
    {"dcs", "raw", "Kodak Camera RAW Image"},
    {"dng", "raw", "Adobe Digital Negative Image"},
    {"erf", "raw", "Epson Camera RAW Image"},
    {"fff", "raw", "Imacon Camera RAW Image"},
    {"ia", "raw", "Sinar RAW Image"},
    {"sti", "raw", "Sinar RAW Image"},
    {"mdc", "raw", "Minolta Camera RAW Image"},
    {"mrw", "raw", "Minolta Camera RAW Image"},
    {"mef", "raw", "Mamiya Camera RAW Image"},
    {"mos", "raw", "Mamiya Camera RAW Image"},
    {"nef", "raw", "Nikon Camera RAW Image"},
    {"nrw", "raw", "Nikon Camera RAW Image"},
    {"orf", "raw", "Olympus Camera RAW Image"},
    {"pef", "raw", "Pentax Camera RAW Image"},
    {"ptx", "raw", "Pentax Camera RAW Image"},
    {"pxn", "raw", "Logitech Camera RAW Image"},
    {"qtk", "raw", "Apple Quicktake Camera RAW Image"},
    {"raf", "raw", "Fuji Camera RAW Image"},
    {"rdc", "raw", "Digital Foto Maker RAW Image"},
    {"rw2", "raw", "Panasonic Camera RAW Image"},
    {"rwz", "raw", "Rawzor Camera RAW Image"},
    {"x3f", "raw", "Sigma Camera RAW Image"},
    {"ari", "raw", "ARRI RAW Image"},
    {"r3d", "raw", "RED RAW Image"},
    {"rwl", "raw", "Leica Camera RAW Image"},
}};

// The input format groups this product accepts, in order.
constexpr auto kInputFormats = kAcceptedInputGroups;

constexpr bool RowsAreWellFormed() {
  return std::all_of(kInputExtensions.begin(), kInputExtensions.end(), [](const InputExtension& row) {
    return IsLowerCaseAlphanumeric(row.extension) && IsLowerCaseAlphanumeric(row.group) && !row.description.empty();
  });
}

constexpr bool ExtensionsAreDistinct() {
  for (std::size_t i = 0; i < kInputExtensions.size(); ++i) {
    for (std::size_t j = i + 1; j < kInputExtensions.size(); ++j) {
      if (kInputExtensions[i].extension == kInputExtensions[j].extension) return false;
    }
  }
  return true;
}

constexpr bool IsFirstRowOfGroup(std::size_t index) {
  for (std::size_t i = 0; i < index; ++i) {
    if (kInputExtensions[i].group == kInputExtensions[index].group) return false;
  }
  return true;
}

constexpr std::size_t CountGroups() {
  std::size_t groups = 0;
  for (std::size_t i = 0; i < kInputExtensions.size(); ++i) groups += IsFirstRowOfGroup(i) ? 1 : 0;
  return groups;
}

constexpr std::size_t CountExtensionsOf(std::string_view group) {
  return static_cast<std::size_t>(std::count_if(kInputExtensions.begin(), kInputExtensions.end(),
                                                [group](const InputExtension& row) { return row.group == group; }));
}

constexpr std::size_t CountAcceptedExtensions() {
  std::size_t total = 0;
  for (std::string_view group : kInputFormats) total += CountExtensionsOf(group);
  return total;
}

static_assert(kInputExtensions.size() == 79);
static_assert(RowsAreWellFormed(), "extensions and groups are lower-case ASCII without dots");
static_assert(ExtensionsAreDistinct(), "an extension belongs to one group only");
static_assert(CountGroups() == 16);
static_assert(CountExtensionsOf("raw") == 48);
static_assert(CountAcceptedExtensions() == 48, "every accepted group has rows; raw holds 48 extensions");

}  // namespace

std::span<const InputExtension> InputExtensionTable() { return kInputExtensions; }

std::optional<InputExtension> FindInputExtension(std::string_view extension) {
  const auto it = std::find_if(kInputExtensions.begin(), kInputExtensions.end(),
                               [extension](const InputExtension& row) { return row.extension == extension; });
  if (it == kInputExtensions.end()) return std::nullopt;
  return *it;
}

const std::vector<std::string>& InputFormatList() {
  static const std::vector<std::string> list(kInputFormats.begin(), kInputFormats.end());
  return list;
}

const std::vector<std::string>& AcceptedExtensionList() {
  static const std::vector<std::string> list = [] {
    std::vector<std::string> extensions;
    for (std::string_view group : kInputFormats) {
      for (const InputExtension& row : kInputExtensions) {
        if (row.group == group) extensions.emplace_back(row.extension);
      }
    }
    return extensions;
  }();
  return list;
}

bool IsAcceptedExtension(std::string_view extension) {
  const std::vector<std::string>& accepted = AcceptedExtensionList();
  return std::any_of(accepted.begin(), accepted.end(),
                     [extension](const std::string& entry) { return EqualsIgnoringAsciiCase(entry, extension); });
}

}  // namespace lumivane
