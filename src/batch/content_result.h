#pragma once
// The result of one file's library part (ConvertImageContent) as bytes, so that a worker process can hand it back.
#include <span>
#include <vector>

#include "settings/conversion_records.h"

namespace lumivane {

// The failure, its detail, source and output bit depth, working size and frame number, then the encoded bytes.
std::vector<unsigned char> PackContentResult(const ConvertedFile& converted);

// The packed result into `converted`. False when packed is not exactly one whole packed result (converted is then
// unchanged).
bool UnpackContentResult(std::span<const unsigned char> packed, ConvertedFile& converted);

}  // namespace lumivane
