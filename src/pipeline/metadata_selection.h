#pragma once
// The descriptive part of a photo's metadata, chosen by named lists, with the written file's own facts set. Only the
// metadata step's files include exiv2.
#include <exiv2/exiv2.hpp>

#include "pipeline/photo_metadata.h"

namespace lumivane {

struct PhotoMetadataSet {
  Exiv2::ExifData exif;
  Exiv2::IptcData iptc;
  Exiv2::XmpData xmp;
};

// What of source an output keeps under target.keeping; orientation is the one read from the input (1 when none).
// May throw exiv2's exceptions.
PhotoMetadataSet SelectDescriptiveMetadata(const PhotoMetadataSet& source, const MetadataTarget& target);

}  // namespace lumivane
