#include "pipeline/colour_alpha.h"

#include <algorithm>

#include "settings/colour.h"

namespace lumivane {

Rgba ParseColourAlpha(std::string_view text, int alpha) {
  const RgbColour colour = ParseColour(text);
  return MakeRgba(colour.r, colour.g, colour.b, static_cast<std::uint8_t>(std::clamp(alpha, 0, 255)));
}

}  // namespace lumivane
