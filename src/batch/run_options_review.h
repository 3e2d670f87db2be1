#pragma once
// The run options in the debug listing, and the check that they can work with the settings: "--skip-existing" and
// "--shard" need every output name before decoding and apart from the rest of the batch.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/run_options.h"
#include "settings/messages.h"
#include "settings/settings.h"

namespace lumivane {

struct RunOptionsReview {
  std::vector<std::string> lines;  // the listing's lines of the options given; empty unless it was asked for
  std::optional<Message> error;    // the message of the "Error: " line that ends the batch
};

// Lists (when `list` is set) one line per run option given, in this order: "Jobs: N" (see JobsListingLine),
// "Skip Existing: 1", "Dry Run: 1", "Shard: K/N". Then, with "--skip-existing" or "--shard", refuses a filename mask
// (kInvalidFilenameMask) or a watermark text (kInvalidWatermarkText) with a token of the run or of the decoded
// picture (FirstTokenOfTheRunOrPicture): a file's name or pixels would depend on the files converted before it,
// on the moment or on its decoding.
RunOptionsReview ReviewRunOptions(const Settings& settings, std::string_view outputFormat, const RunOptions& run,
                                  bool list);

}  // namespace lumivane
