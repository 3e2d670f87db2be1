#pragma once
// The metadata step: the photo's descriptive metadata (dates, camera, lens, exposure, location, rights, keywords,
// ratings) read from the input file and a sidecar beside it, written into the encoded output in memory. Only a named
// list of descriptive tags is copied, never structural ones (strips, tiles, DNG and colour tags, thumbnails, maker
// notes), and the facts of the written file (orientation, size, colour space) are set from the output. Best effort:
// a file whose metadata cannot be read or written is still converted, and the step says what was left out.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/registry.h"
#include "settings/setting_codes.h"

namespace lumivane {

// What the step needs to know of the written file.
struct MetadataTarget {
  MetadataContainer container = MetadataContainer::kNone;
  MetadataKeeping keeping = MetadataKeeping::kKeep;
  int width = 0;  // the output's pixel size
  int height = 0;
  // True when the decoder turned the pixels upright (the output says Orientation 1); false when they are as the
  // camera stored them (the output keeps the input's orientation).
  bool pixelsUpright = true;
  bool hasIccProfile = false;  // colour space "uncalibrated" with a profile, sRGB without
  int dotsPerInchX = 0;        // 0: not known, no resolution written
  int dotsPerInchY = 0;
};

// Reads the metadata of inputPath (EXIF, IPTC and XMP, with NAME.EXT.xmp or NAME.xmp merged over the file's own XMP)
// and writes what target.keeping keeps into encoded, replacing whatever the encoder wrote there. Returns "" when
// nothing was left out, else a short note for the report; encoded is unchanged when the metadata could not be
// written. Never throws.
std::string KeepPhotoMetadata(const std::string& inputPath, std::vector<unsigned char>& encoded,
                              const MetadataTarget& target);

}  // namespace lumivane
