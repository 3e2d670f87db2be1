#pragma once
// Comparing two settings records in fuzz targets: a NaN gamma never equals itself, so two NaN gammas count as equal.
#include <cmath>

#include "settings/settings.h"

namespace lumivane::fuzzing {

inline bool SameSettings(Settings a, Settings b) {
  if (std::isnan(a.adjustment.imageGamma) && std::isnan(b.adjustment.imageGamma)) {
    a.adjustment.imageGamma = b.adjustment.imageGamma = 0.0f;
  }
  return a == b;
}

}  // namespace lumivane::fuzzing
