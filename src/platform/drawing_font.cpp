#include "platform/drawing_font.h"

#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumivane {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

// The generic families fontconfig falls back to; a face served by one of their fonts is not really there.
constexpr const char* kGenericFamilies[] = {"sans-serif", "serif", "monospace", "cursive", "fantasy"};

// The request for one family after fontconfig's configured substitutions (aliases, then generic fallbacks).
PatternPtr SubstitutedRequest(const std::string& family) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern || !FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str())) ||
      !FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
    return nullptr;
  }
  FcDefaultSubstitute(pattern.get());
  return pattern;
}

std::vector<std::string> FamiliesOf(const FcPattern* pattern, bool strongOnly) {
  std::vector<std::string> families;
  FcValue value;
  FcValueBinding binding;
  for (int index = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, index, &value, &binding) == FcResultMatch; ++index) {
    if (value.type != FcTypeString || (strongOnly && binding == FcValueBindingWeak)) continue;
    families.emplace_back(reinterpret_cast<const char*>(value.u.s));
  }
  return families;
}

// The family names of the font fontconfig picks for the request (a font may carry several names).
std::vector<std::string> MatchedFamilies(FcPattern* request) {
  FcResult result = FcResultNoMatch;
  const PatternPtr match(FcFontMatch(nullptr, request, &result));
  if (!match) return {};
  return FamiliesOf(match.get(), false);
}

// Family names compare as fontconfig compares them: without regard to case or blanks.
bool SameFamily(std::string a, std::string b) {
  std::erase(a, ' ');
  std::erase(b, ' ');
  return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(a.c_str()), reinterpret_cast<const FcChar8*>(b.c_str())) ==
         0;
}

bool SharesFamily(const std::vector<std::string>& some, const std::vector<std::string>& others) {
  for (const std::string& a : some) {
    for (const std::string& b : others) {
      if (SameFamily(a, b)) return true;
    }
  }
  return false;
}

bool IsGenericFallback(const std::vector<std::string>& matched) {
  for (const char* generic : kGenericFamilies) {
    const PatternPtr request = SubstitutedRequest(generic);
    if (!request) continue;
    const std::vector<std::string> fallback = MatchedFamilies(request.get());
    if (!fallback.empty() && SameFamily(matched.front(), fallback.front())) return true;
  }
  return false;
}

bool IsUsableFaceName(const std::string& face) {
  int characters = 0;
  int widest = 0;
  return !face.empty() && face.find('\0') == std::string::npos &&
         FcUtf8Len(reinterpret_cast<const FcChar8*>(face.data()), static_cast<int>(face.size()), &characters, &widest);
}

}  // namespace

DrawingFont::DrawingFont(PangoFontDescription* description, TextStyle style)
    : description_(description), style_(style) {}

DrawingFont::~DrawingFont() {
  if (description_ != nullptr) pango_font_description_free(description_);
}

DrawingFont::DrawingFont(const DrawingFont& other)
    : description_(other.description_ != nullptr ? pango_font_description_copy(other.description_) : nullptr),
      style_(other.style_) {}

DrawingFont& DrawingFont::operator=(const DrawingFont& other) {
  if (this != &other) *this = DrawingFont(other);
  return *this;
}

DrawingFont::DrawingFont(DrawingFont&& other) noexcept
    : description_(std::exchange(other.description_, nullptr)), style_(other.style_) {}

DrawingFont& DrawingFont::operator=(DrawingFont&& other) noexcept {
  if (this != &other) {
    if (description_ != nullptr) pango_font_description_free(description_);
    description_ = std::exchange(other.description_, nullptr);
    style_ = other.style_;
  }
  return *this;
}

bool FontFaceExists(const std::string& face) {
  if (!IsUsableFaceName(face)) return false;
  const PatternPtr request = SubstitutedRequest(face);
  if (!request) return false;
  const std::vector<std::string> matched = MatchedFamilies(request.get());
  if (matched.empty()) return false;
  // The face itself, or an alias the configuration binds as strongly as the face (metric-compatible fonts).
  if (SharesFamily(matched, FamiliesOf(request.get(), true))) return true;
  // A weaker stand-in still counts unless it is the font every unknown name would get.
  return !IsGenericFallback(matched);
}

DrawingFont LoadFont(const std::string& face, double sizePoints, TextStyle style) {
  if (!std::isfinite(sizePoints) || sizePoints < kMinFontPoints || sizePoints > kMaxFontPoints) return {};
  if (!FontFaceExists(face)) return {};
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, face.c_str());
  pango_font_description_set_absolute_size(description, sizePoints * 96.0 / 72.0 * PANGO_SCALE);
  pango_font_description_set_weight(description, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description, style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return DrawingFont(description, style);
}

}  // namespace lumivane
