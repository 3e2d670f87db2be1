#pragma once
// The debug listing of a batch's effective settings, and the checks of the settings that the encoder and the
// edits depend on. The checks run whether or not the listing is shown; each runs after the lines of its part, so a
// listing shows a part's lines before that part's error.
#include <string>
#include <string_view>
#include <vector>

#include "platform/drawing_font.h"
#include "settings/settings.h"

namespace lumivane {

struct SettingsReview {
  std::vector<std::string> lines;  // the listing, in order; empty unless it was asked for
  std::string error;               // the message of the first failed check's "Error: " line; "" when all passed
  DrawingFont watermarkFont;       // the batch's watermark font, made by the text watermark's check
};

// Lists (when `list` is set) the decoding options of the input format group, the encoder options of the output
// format and the edits and naming settings, checking each part after its lines. Stops at the first failed check:
// no later line is listed and no later check runs.
SettingsReview ReviewSettings(const Settings& settings, std::string_view inputGroup, std::string_view outputFormat,
                              bool list);

}  // namespace lumivane
