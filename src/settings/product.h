#pragma once
// The product's name, version and maker, and the input format groups it converts, in one place.
#include <array>
#include <string>
#include <string_view>

namespace lumivane {

inline constexpr int kProductVersion = 300;
inline constexpr const char* kProductName = "Lumivane";
inline constexpr const char* kMakerName = "Tarnwick";
inline constexpr const char* kCopyrightYears = "2026";
inline constexpr const char* kWebAddress = "https://lumivane.tarnwick.example/";
// The input format groups this product accepts (the input format list).
inline constexpr std::array<std::string_view, 1> kAcceptedInputGroups{"raw"};

// "300" -> "3.0", "301" -> "3.0.1", "310" -> "3.1".
std::string VersionText(int number);
// "Lumivane 3.0": console title, first banner line and single-instance lock name.
std::string ProductTitle();
// The maker's notice: "(c) 2026 Tarnwick" for the banner, "\u00A9 2026 Tarnwick" as the default watermark text.
std::string MakerNotice(bool asciiSign);

}  // namespace lumivane
