#pragma once
// The product's name, version and maker, in one place.
#include <string>

namespace lumivane {

inline constexpr int kProductVersion = 300;
inline constexpr const char* kProductName = "Lumivane";
inline constexpr const char* kMakerName = "Tarnwick";
inline constexpr const char* kCopyrightYears = "2026";
inline constexpr const char* kWebAddress = "https://lumivane.tarnwick.example/";

// "300" -> "3.0", "301" -> "3.0.1", "310" -> "3.1".
std::string VersionText(int number);
// "Lumivane 3.0": console title, first banner line and single-instance lock name.
std::string ProductTitle();
// The maker's notice: "(c) 2026 Tarnwick" for the banner, "\u00A9 2026 Tarnwick" as the default watermark text.
std::string MakerNotice(bool asciiSign);

}  // namespace lumivane
