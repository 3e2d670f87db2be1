#pragma once
// Settings in fuzz targets: the baseline of a command-line run, and a comparison in which two NaN gammas count as
// equal (a NaN never equals itself).
#include <cmath>

#include "settings/settings.h"

namespace lumivane::fuzzing {

// The settings of a command-line run before any option, made once.
inline const Settings& CommandLineDefaults() {
  static const Settings defaults = [] {
    Settings settings;
    ResetSettings(settings, /*commandLine=*/true);
    return settings;
  }();
  return defaults;
}

inline bool SameSettings(Settings a, Settings b) {
  if (std::isnan(a.adjustment.imageGamma) && std::isnan(b.adjustment.imageGamma)) {
    a.adjustment.imageGamma = b.adjustment.imageGamma = 0.0f;
  }
  return a == b;
}

}  // namespace lumivane::fuzzing
