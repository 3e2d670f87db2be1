#pragma once
// The checks of a batch's input, output folder and conversion type, with the normalisation they imply. Each
// returns the message of the "Error: " line that ends the batch, or nothing when the job may go on.
#include <optional>
#include <string>

#include "batch/job.h"
#include "settings/messages.h"

namespace lumivane {

// The input as the command line gave it is in the job's input folder. A value with an extension names a file: it
// moves to the input file, which must be a file of at least one byte (a relative one is taken from the current
// folder). Any other value names a folder: it may not begin with "..", and resolved against the current folder it
// must be an existing folder.
std::optional<Message> ClassifyInput(JobRecord& job);

// Without an output folder, the folder part of the input (folder or file) becomes the output folder.
void DeriveOutputFolder(JobRecord& job);

// The output folder may not begin with ".."; resolved against the current folder it must exist. It is never
// created here.
std::optional<Message> CheckOutputFolder(JobRecord& job);

// An empty input format becomes the first input format group, an empty output format the first output format.
void DefaultFormats(JobRecord& job);

// The output format must be one of the output format identifiers, exactly as written.
std::optional<Message> CheckConversionType(const JobRecord& job);

// A regular file (symbolic links followed) of at least one byte.
bool IsNonEmptyRegularFile(const std::string& path);
// An existing folder (symbolic links followed).
bool IsExistingFolder(const std::string& path);

}  // namespace lumivane
