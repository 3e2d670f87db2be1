#include "pipeline/metadata_selection.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace lumivane {
namespace {

// IFD0 tags that describe the photo, never the structure of the RAW file. The rating stays in XMP only: the EXIF
// Rating tag is not a standard one.
constexpr std::string_view kImageKeys[] = {
    "Exif.Image.Make",      "Exif.Image.Model",      "Exif.Image.ImageDescription", "Exif.Image.Artist",
    "Exif.Image.Copyright", "Exif.Image.DateTime",   "Exif.Image.XPTitle",          "Exif.Image.XPComment",
    "Exif.Image.XPAuthor",  "Exif.Image.XPKeywords", "Exif.Image.XPSubject"};

// Exif IFD tags of the shot, the camera and the lens. The source's pixel dimensions, maker note, interoperability
// and sensor layout tags are not among them.
constexpr std::string_view kPhotoKeys[] = {"Exif.Photo.ExposureTime",
                                           "Exif.Photo.FNumber",
                                           "Exif.Photo.ExposureProgram",
                                           "Exif.Photo.SpectralSensitivity",
                                           "Exif.Photo.ISOSpeedRatings",
                                           "Exif.Photo.SensitivityType",
                                           "Exif.Photo.StandardOutputSensitivity",
                                           "Exif.Photo.RecommendedExposureIndex",
                                           "Exif.Photo.ISOSpeed",
                                           "Exif.Photo.DateTimeOriginal",
                                           "Exif.Photo.DateTimeDigitized",
                                           "Exif.Photo.OffsetTime",
                                           "Exif.Photo.OffsetTimeOriginal",
                                           "Exif.Photo.OffsetTimeDigitized",
                                           "Exif.Photo.SubSecTime",
                                           "Exif.Photo.SubSecTimeOriginal",
                                           "Exif.Photo.SubSecTimeDigitized",
                                           "Exif.Photo.ShutterSpeedValue",
                                           "Exif.Photo.ApertureValue",
                                           "Exif.Photo.BrightnessValue",
                                           "Exif.Photo.ExposureBiasValue",
                                           "Exif.Photo.MaxApertureValue",
                                           "Exif.Photo.SubjectDistance",
                                           "Exif.Photo.MeteringMode",
                                           "Exif.Photo.LightSource",
                                           "Exif.Photo.Flash",
                                           "Exif.Photo.FocalLength",
                                           "Exif.Photo.UserComment",
                                           "Exif.Photo.FlashEnergy",
                                           "Exif.Photo.ExposureIndex",
                                           "Exif.Photo.SensingMethod",
                                           "Exif.Photo.FileSource",
                                           "Exif.Photo.SceneType",
                                           "Exif.Photo.CustomRendered",
                                           "Exif.Photo.ExposureMode",
                                           "Exif.Photo.WhiteBalance",
                                           "Exif.Photo.DigitalZoomRatio",
                                           "Exif.Photo.FocalLengthIn35mmFilm",
                                           "Exif.Photo.SceneCaptureType",
                                           "Exif.Photo.GainControl",
                                           "Exif.Photo.Contrast",
                                           "Exif.Photo.Saturation",
                                           "Exif.Photo.Sharpness",
                                           "Exif.Photo.SubjectDistanceRange",
                                           "Exif.Photo.ImageUniqueID",
                                           "Exif.Photo.CameraOwnerName",
                                           "Exif.Photo.BodySerialNumber",
                                           "Exif.Photo.LensSpecification",
                                           "Exif.Photo.LensMake",
                                           "Exif.Photo.LensModel",
                                           "Exif.Photo.LensSerialNumber",
                                           "Exif.Photo.ExifVersion"};

// TIFF/EP cameras (Kodak's KDC among them) keep shot tags in IFD0; readers look for them in the Exif IFD.
constexpr std::string_view kTiffEpShotTags[] = {"ExposureTime",
                                                "FNumber",
                                                "ExposureProgram",
                                                "ISOSpeedRatings",
                                                "DateTimeOriginal",
                                                "ExposureBiasValue",
                                                "MaxApertureValue",
                                                "SubjectDistance",
                                                "MeteringMode",
                                                "LightSource",
                                                "Flash",
                                                "FocalLength",
                                                "ShutterSpeedValue",
                                                "ApertureValue",
                                                "BrightnessValue"};

// XMP namespaces that describe the photo. Left out: tiff, exif, exifEX and aux (EXIF holds their values, once),
// crs and crss (RAW development settings), xmpMM (the RAW document's history) and vendors' namespaces.
constexpr std::string_view kXmpPrefixes[] = {"dc",          "xmp", "xmpRights", "photoshop", "Iptc4xmpCore",
                                             "Iptc4xmpExt", "lr",  "plus",      "mwg-rs"};

template <std::size_t N>
bool Listed(const std::string_view (&list)[N], std::string_view key) {
  return std::find(std::begin(list), std::end(list), key) != std::end(list);
}

// Empty or blank text, or a zero where cameras write zero for "unknown".
bool SaysNothing(const Exiv2::Exifdatum& datum) {
  if (datum.count() == 0) return true;
  const auto* comment = dynamic_cast<const Exiv2::CommentValue*>(&datum.value());
  if (datum.typeId() == Exiv2::asciiString || comment != nullptr) {
    const std::string text = comment != nullptr ? comment->comment() : datum.toString();
    return text.find_first_not_of(std::string(" \t\0", 3)) == std::string::npos;
  }
  const std::string tag = datum.tagName();
  if (tag == "ExposureTime" || tag == "FNumber" || tag == "FocalLength" || tag == "ISOSpeedRatings") {
    return !(datum.toFloat(0) > 0.0f);
  }
  return false;
}

bool Has(const Exiv2::ExifData& exif, const std::string& key) {
  return exif.findKey(Exiv2::ExifKey(key)) != exif.end();
}

void Add(Exiv2::ExifData& exif, const std::string& key, const Exiv2::Value& value) {
  exif.add(Exiv2::ExifKey(key), &value);
}

void CopyListedExif(const Exiv2::ExifData& source, bool withLocation, Exiv2::ExifData& out) {
  for (const Exiv2::Exifdatum& datum : source) {
    const std::string key = datum.key();
    const bool location = datum.groupName() == "GPSInfo";
    if (location && !withLocation) continue;
    if (!location && !Listed(kImageKeys, key) && !Listed(kPhotoKeys, key)) continue;
    if (SaysNothing(datum) || Has(out, key)) continue;
    out.add(datum);
  }
  for (std::string_view tag : kTiffEpShotTags) {
    const auto found = source.findKey(Exiv2::ExifKey("Exif.Image." + std::string(tag)));
    const std::string photoKey = "Exif.Photo." + std::string(tag);
    if (found == source.end() || SaysNothing(*found) || Has(out, photoKey)) continue;
    Add(out, photoKey, found->value());
  }
}

// Maker notes are not copied (they hold previews and offsets into the RAW file); the ISO and the lens name that only
// they know become standard tags. Their raw values are encoded, so the printed ones are read.
void RescueFromMakerNote(const Exiv2::ExifData& source, Exiv2::ExifData& out) {
  if (!Has(out, "Exif.Photo.ISOSpeedRatings")) {
    const auto iso = Exiv2::isoSpeed(source);
    const long value = iso == source.end() ? 0 : std::atol(iso->print(&source).c_str());
    if (value > 0 && value < 65536) {
      Add(out, "Exif.Photo.ISOSpeedRatings", Exiv2::UShortValue(static_cast<std::uint16_t>(value)));
    }
  }
  if (!Has(out, "Exif.Photo.LensModel")) {
    const auto lens = Exiv2::lensName(source);
    const std::string name = lens == source.end() ? "" : lens->print(&source);
    const bool isName = std::any_of(name.begin(), name.end(), [](unsigned char c) { return std::isalpha(c) != 0; }) &&
                        name != "n/a" && name.find("Unknown") == std::string::npos && name.front() != '(';
    if (isName) Add(out, "Exif.Photo.LensModel", Exiv2::AsciiValue(name));
  }
}

std::uint16_t InputOrientation(const Exiv2::ExifData& source) {
  const auto found = source.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
  const long value = found == source.end() || found->count() == 0 ? 1 : found->toLong(0);
  return value >= 1 && value <= 8 ? static_cast<std::uint16_t>(value) : 1;
}

Exiv2::URationalValue Resolution(int dotsPerInch) {
  Exiv2::URationalValue value;
  value.value_.emplace_back(static_cast<std::uint32_t>(dotsPerInch), 1u);
  return value;
}

// The facts of the written file, which no input can know.
void SetOutputFacts(const Exiv2::ExifData& source, const MetadataTarget& target, Exiv2::ExifData& out) {
  out["Exif.Image.Orientation"] = target.pixelsUpright ? std::uint16_t{1} : InputOrientation(source);
  out["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(target.width);
  out["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(target.height);
  out["Exif.Photo.ColorSpace"] = target.hasIccProfile ? std::uint16_t{0xFFFF} : std::uint16_t{1};
  if (target.dotsPerInchX > 0 && target.dotsPerInchY > 0) {
    Add(out, "Exif.Image.XResolution", Resolution(target.dotsPerInchX));
    Add(out, "Exif.Image.YResolution", Resolution(target.dotsPerInchY));
    out["Exif.Image.ResolutionUnit"] = std::uint16_t{2};  // inches
  }
  if (!Has(out, "Exif.Photo.ExifVersion")) {
    Exiv2::DataValue version(Exiv2::undefined);
    version.read("48 50 51 50");  // "0232"
    Add(out, "Exif.Photo.ExifVersion", version);
  }
  if (Has(out, "Exif.GPSInfo.GPSLatitude") && !Has(out, "Exif.GPSInfo.GPSVersionID")) {
    Exiv2::DataValue version(Exiv2::unsignedByte);
    version.read("2 3 0 0");
    Add(out, "Exif.GPSInfo.GPSVersionID", version);
  }
}

}  // namespace

PhotoMetadataSet SelectDescriptiveMetadata(const PhotoMetadataSet& source, const MetadataTarget& target) {
  PhotoMetadataSet out;
  if (target.keeping == MetadataKeeping::kNone) return out;
  const bool withLocation = target.keeping == MetadataKeeping::kKeep;
  CopyListedExif(source.exif, withLocation, out.exif);
  RescueFromMakerNote(source.exif, out.exif);
  SetOutputFacts(source.exif, target, out.exif);
  out.exif.sortByKey();
  for (const Exiv2::Iptcdatum& datum : source.iptc) {
    if (datum.recordName() != "Application2" || datum.tagName() == "RecordVersion") continue;
    if (datum.size() == 0 || datum.toString().find_first_not_of(' ') == std::string::npos) continue;
    // IPTC has no location coordinates, only place names: NOGPS keeps them as a caption would.
    out.iptc.add(datum);
  }
  for (const Exiv2::Xmpdatum& datum : source.xmp) {
    if (!Listed(kXmpPrefixes, datum.groupName())) continue;
    // Coordinates in XMP are exif:GPS* properties, at the top (never copied) or inside a location structure.
    if (!withLocation && datum.key().find("GPS") != std::string::npos) continue;
    out.xmp.add(datum);
  }
  return out;
}

}  // namespace lumivane
