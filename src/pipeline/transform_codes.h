#pragma once
// Codes of the keyword-valued Transform and Adjustment settings, as the edit steps read them.
#include <cstdint>

namespace lumivane {

// `Transform/Image Rotation Type`.
inline constexpr std::int8_t kRotationSimple = 0;    // the canvas grows; added corners get the back colour
inline constexpr std::int8_t kRotationAdvanced = 1;  // about the centre, size kept, uncovered parts mirrored

// `Transform/Image Width Unit`, `Transform/Image Height Unit`.
inline constexpr std::int8_t kSizeUnitPixels = 0;
inline constexpr std::int8_t kSizeUnitPercent = 1;

// `Transform/Image Resize Type`.
inline constexpr std::int8_t kResizeAllImages = 0;
inline constexpr std::int8_t kResizeLargeImages = 1;  // an image smaller than the target both ways stays

// `Transform/Image Resize Algorithm`.
inline constexpr std::int8_t kResizeBox = 0;
inline constexpr std::int8_t kResizeBilinear = 1;
inline constexpr std::int8_t kResizeBSpline = 2;
inline constexpr std::int8_t kResizeBicubic = 3;
inline constexpr std::int8_t kResizeCatmullRom = 4;
inline constexpr std::int8_t kResizeLanczos = 5;

// `Adjustment/Image Dither Algorithm`.
inline constexpr std::int8_t kDitherFloydSteinberg = 0;
inline constexpr std::int8_t kDitherBayer4 = 1;
inline constexpr std::int8_t kDitherBayer8 = 2;
inline constexpr std::int8_t kDitherBayer16 = 3;
inline constexpr std::int8_t kDitherCluster6 = 4;
inline constexpr std::int8_t kDitherCluster8 = 5;
inline constexpr std::int8_t kDitherCluster16 = 6;

}  // namespace lumivane
