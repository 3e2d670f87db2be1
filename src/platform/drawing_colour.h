#pragma once
// Colours of the drawing layer: one 32-bit RGBA value, red in the lowest byte and alpha in the highest.
#include <cstdint>

namespace lumivane {

using Rgba = std::uint32_t;

constexpr Rgba MakeRgba(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha = 255) {
  return Rgba{red} | (Rgba{green} << 8) | (Rgba{blue} << 16) | (Rgba{alpha} << 24);
}
constexpr std::uint8_t RedOf(Rgba colour) { return static_cast<std::uint8_t>(colour); }
constexpr std::uint8_t GreenOf(Rgba colour) { return static_cast<std::uint8_t>(colour >> 8); }
constexpr std::uint8_t BlueOf(Rgba colour) { return static_cast<std::uint8_t>(colour >> 16); }
constexpr std::uint8_t AlphaOf(Rgba colour) { return static_cast<std::uint8_t>(colour >> 24); }
constexpr Rgba WithAlpha(Rgba colour, std::uint8_t alpha) { return (colour & 0x00FFFFFFu) | (Rgba{alpha} << 24); }

static_assert(MakeRgba(0x11, 0x22, 0x33, 0x44) == 0x44332211u);
static_assert(AlphaOf(WithAlpha(0x12345678u, 0xAB)) == 0xAB && RedOf(0x12345678u) == 0x78);

}  // namespace lumivane
