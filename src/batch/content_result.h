#pragma once
// The result of one file's library part (ConvertImageContent) as bytes, so that a worker process can hand it back:
// the fields it fills in the file's record, its success, and the encoded output file.
#include <optional>
#include <span>
#include <vector>

#include "batch/job.h"

namespace lumivane {

// ok, file's failure, failure text, source and output bit depth, working size and frame number, then encoded.
std::vector<unsigned char> PackContentResult(bool ok, const FileConversion& file,
                                             std::span<const unsigned char> encoded);

// Copies a packed result's fields into file and its output bytes into encoded, and returns its ok. Nothing when
// packed is not exactly one whole packed result (file and encoded are then unchanged).
std::optional<bool> UnpackContentResult(std::span<const unsigned char> packed, FileConversion& file,
                                        std::vector<unsigned char>& encoded);

}  // namespace lumivane
