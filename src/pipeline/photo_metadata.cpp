#include "pipeline/photo_metadata.h"

#include <sys/stat.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <mutex>

#include "pipeline/metadata_selection.h"

namespace lumivane {
namespace {

// exiv2's XMP toolkit is set up once per process and shared by the worker threads behind this lock; exiv2's own
// warnings would go to stderr, which is the report's business.
std::mutex gXmpLock;
void LockXmp(void* lock, bool locking) {
  auto* mutex = static_cast<std::mutex*>(lock);
  if (locking) {
    mutex->lock();
  } else {
    mutex->unlock();
  }
}
void SetUpExiv2() {
  static std::once_flag once;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(LockXmp, &gXmpLock);
  });
}

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// NAME.EXT.xmp first, then NAME.xmp, as RAW editors write them, each also in capitals.
std::string FindSidecar(const std::string& inputPath) {
  const std::size_t slash = inputPath.find_last_of('/');
  const std::size_t dot = inputPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? inputPath.substr(0, dot) : inputPath;
  for (const std::string& candidate : {inputPath + ".xmp", inputPath + ".XMP", stem + ".xmp", stem + ".XMP"}) {
    if (IsRegularFile(candidate)) return candidate;
  }
  return {};
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sidecar wins property by property; an array (dc:subject) is replaced whole. What it says of EXIF's values
// (dates, rights, location) replaces the file's EXIF as well. False when the sidecar is not XMP.
bool MergeSidecar(const std::string& sidecarPath, PhotoMetadataSet& metadata) {
  Exiv2::XmpData sidecar;
  if (Exiv2::XmpParser::decode(sidecar, ReadText(sidecarPath)) != 0) return false;
  for (const Exiv2::Xmpdatum& datum : sidecar) {
    const Exiv2::XmpKey key(datum.key());
    for (auto old = metadata.xmp.findKey(key); old != metadata.xmp.end(); old = metadata.xmp.findKey(key)) {
      metadata.xmp.erase(old);
    }
  }
  for (const Exiv2::Xmpdatum& datum : sidecar) metadata.xmp.add(datum);
  Exiv2::copyXmpToExif(sidecar, metadata.exif);
  return true;
}

// A standard eXIf chunk (TIFF-structured EXIF, no "Exif" prefix) right after IHDR, which is always the first chunk:
// signature 8 bytes, IHDR 4 + 4 + 13 + 4.
constexpr std::size_t kAfterPngHeader = 33;
void InsertPngExifChunk(const Exiv2::Blob& exif, std::vector<unsigned char>& png) {
  std::vector<unsigned char> chunk;
  const auto putBigEndian = [&chunk](std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<unsigned char>(value >> shift));
  };
  putBigEndian(static_cast<std::uint32_t>(exif.size()));
  for (char c : {'e', 'X', 'I', 'f'}) chunk.push_back(static_cast<unsigned char>(c));
  chunk.insert(chunk.end(), exif.begin(), exif.end());
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
  putBigEndian(static_cast<std::uint32_t>(crc));
  png.insert(png.begin() + kAfterPngHeader, chunk.begin(), chunk.end());
}

// Replaces the metadata the encoder wrote with `metadata`. Image::clearMetadata is not used: it drops the ICC
// profile as well.
std::vector<unsigned char> WrittenWith(const std::vector<unsigned char>& encoded, MetadataContainer container,
                                       PhotoMetadataSet metadata) {
  auto image = Exiv2::ImageFactory::open(encoded.data(), static_cast<long>(encoded.size()));
  image->readMetadata();
  image->clearExifData();
  image->clearIptcData();
  image->clearXmpData();
  image->clearXmpPacket();
  image->clearComment();
  Exiv2::ExifData& exif = metadata.exif;
  if (container == MetadataContainer::kTiff) {
    // A TIFF's own ImageWidth and ImageLength give its size; EXIF's pixel dimensions are not allowed there.
    for (const char* key : {"Exif.Photo.PixelXDimension", "Exif.Photo.PixelYDimension"}) {
      const auto found = exif.findKey(Exiv2::ExifKey(key));
      if (found != exif.end()) exif.erase(found);
    }
  }
  if (container == MetadataContainer::kJpeg && !exif.empty()) {
    exif["Exif.Image.YCbCrPositioning"] = std::uint16_t{1};
    Exiv2::DataValue components(Exiv2::undefined);
    components.read("1 2 3 0");
    exif.add(Exiv2::ExifKey("Exif.Photo.ComponentsConfiguration"), &components);
  }
  if (container != MetadataContainer::kPng) image->setExifData(exif);
  if (container != MetadataContainer::kPng && container != MetadataContainer::kWebp) image->setIptcData(metadata.iptc);
  image->setXmpData(metadata.xmp);
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  io.seek(0, Exiv2::BasicIo::beg);
  const Exiv2::DataBuf written = io.read(static_cast<long>(io.size()));
  std::vector<unsigned char> file(written.pData_, written.pData_ + written.size_);
  if (container == MetadataContainer::kPng && !exif.empty() && file.size() > kAfterPngHeader) {
    Exiv2::Blob tiffExif;
    Exiv2::ExifParser::encode(tiffExif, Exiv2::littleEndian, exif);
    InsertPngExifChunk(tiffExif, file);
  }
  return file;
}

// exiv2's messages about a file begin with its path, which the report already shows.
std::string Reason(const char* what, std::string why, const std::string& path = {}) {
  if (!path.empty() && why.rfind(path + ": ", 0) == 0) why.erase(0, path.size() + 2);
  return std::string(what) + " (" + why + ")";
}

}  // namespace

std::string KeepPhotoMetadata(const std::string& inputPath, std::vector<unsigned char>& encoded,
                              const MetadataTarget& target) {
  if (target.container == MetadataContainer::kNone) return {};
  SetUpExiv2();
  std::string note;
  PhotoMetadataSet source;
  if (target.keeping != MetadataKeeping::kNone) {
    try {
      auto input = Exiv2::ImageFactory::open(inputPath);
      input->readMetadata();
      source.exif = input->exifData();
      source.iptc = input->iptcData();
      source.xmp = input->xmpData();
    } catch (const std::exception& error) {  // exiv2's AnyError among them
      note = Reason("the input's metadata is unreadable", error.what(), inputPath);
    }
    if (const std::string sidecar = FindSidecar(inputPath); !sidecar.empty()) {
      try {
        if (!MergeSidecar(sidecar, source)) note += (note.empty() ? "" : "; ") + std::string("the sidecar is not XMP");
      } catch (const std::exception& error) {
        note += (note.empty() ? "" : "; ") + Reason("the sidecar is unreadable", error.what(), sidecar);
      }
    }
  }
  try {
    encoded = WrittenWith(encoded, target.container, SelectDescriptiveMetadata(source, target));
  } catch (const std::exception& error) {
    return Reason("metadata left out", error.what());
  }
  return note;
}

}  // namespace lumivane
