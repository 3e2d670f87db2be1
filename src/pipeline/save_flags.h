#pragma once
// Encoder flags of an output format, derived from its Output settings once per batch.
#include <cstdint>
#include <string_view>

#include "settings/settings.h"

namespace lumivane {

// The flags passed unchanged to the encoder of `formatIdentifier` (a lower-case output format identifier).
// Formats without encoder settings, unknown identifiers and codes outside a setting's list contribute 0.
std::int32_t ComputeSaveFlags(const Settings& settings, std::string_view formatIdentifier);

}  // namespace lumivane
