#pragma once
// The debug listing of a batch's effective settings, and the checks of the settings that the encoder and the
// edits depend on. The checks run whether or not the listing is shown; each runs after the lines of its group,
// so a listing shows a group's lines before that group's error.
#include <string>
#include <vector>

#include "batch/job.h"
#include "platform/drawing_font.h"
#include "settings/settings.h"

namespace lumivane {

struct SettingsReview {
  std::vector<std::string> lines;  // the listing, in order; empty unless it was asked for
  std::string error;               // the "Error: " line of the first failed check; "" when every check passed
  DrawingFont watermarkFont;       // the batch's watermark font, made by the text watermark's check
};

// Lists (when `list` is set) the decoding options of the job's input format group, the encoder options of its
// output format and the edits and naming settings, checking each group after its lines. Stops at the first
// failed check: no later line is listed and no later check runs.
SettingsReview ReviewSettings(const Settings& settings, const JobRecord& job, bool list);

// The font of a text watermark: face, size in points and the style and effect codes of the settings. An empty
// font when it cannot be made (unknown face, size below 1).
DrawingFont LoadWatermarkFont(const Settings& settings);

}  // namespace lumivane
