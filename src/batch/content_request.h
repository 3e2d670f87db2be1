#pragma once
// What a worker process needs to know of one file besides what it saw when it was forked: the file, and the job's
// counters as they stand when the file is handed over (a watermark text may show them).
#include <optional>
#include <span>
#include <vector>

#include "batch/job.h"

namespace lumivane {

// The file's input path and relative subfolder, and the job's random number, file counter and previous output
// bit depth.
std::vector<unsigned char> PackContentRequest(const JobRecord& job, const FileConversion& file);

// Copies a packed request's counters into job and its paths into file (whose other fields are reset). False when
// packed is not exactly one whole packed request (job and file are then unchanged).
bool UnpackContentRequest(std::span<const unsigned char> packed, JobRecord& job, FileConversion& file);

}  // namespace lumivane
