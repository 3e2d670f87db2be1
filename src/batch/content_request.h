#pragma once
// What a worker process needs to know of one file besides its greeting (worker_greeting.h): the file, with the
// batch's numbering as it stands when the file is handed over (a watermark text may show it).
#include <span>
#include <vector>

#include "settings/conversion_records.h"

namespace lumivane {

// The file's input path, relative subfolder and numbering.
std::vector<unsigned char> PackContentRequest(const FileToConvert& file);

// The packed file into `file`. False when packed is not exactly one whole packed request (file is then unchanged).
bool UnpackContentRequest(std::span<const unsigned char> packed, FileToConvert& file);

}  // namespace lumivane
