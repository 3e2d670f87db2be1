#include "settings/product.h"

namespace lumivane {

std::string VersionText(int number) {
  std::string text = std::to_string(number);
  if (text.size() >= 1) text.insert(1, ".");
  if (text.size() >= 3) text.insert(3, ".");
  if (!text.empty() && text.back() == '0') text.resize(3);
  return text;
}

std::string ProductTitle() { return std::string(kProductName) + " " + VersionText(kProductVersion); }

std::string MakerNotice(bool asciiSign) {
  return std::string(asciiSign ? "(c)" : "\u00A9") + " " + kCopyrightYears + " " + kMakerName;
}

}  // namespace lumivane
