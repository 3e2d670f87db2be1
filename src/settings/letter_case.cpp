#include "settings/letter_case.h"

#include <locale.h>
#include <wctype.h>

#include <optional>

#include "platform/utf8.h"

namespace lumivane {

namespace {

// The C.UTF-8 locale carries the Unicode case tables and is built into the C library, so the result does not
// depend on the user's locale settings. Without it only ASCII letters change.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

char32_t MapLetter(char32_t c, bool upper) {
  if (c < 0x80 || CaseLocale() == static_cast<locale_t>(nullptr)) {
    if (upper && c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (!upper && c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    return c;
  }
  const wint_t mapped =
      upper ? towupper_l(static_cast<wint_t>(c), CaseLocale()) : towlower_l(static_cast<wint_t>(c), CaseLocale());
  return static_cast<char32_t>(mapped);
}

std::string MapText(std::string_view text, bool upper) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::optional<Utf8Char> character = DecodeUtf8Char(text, pos);
    if (character) {
      AppendUtf8(result, MapLetter(character->codePoint, upper));
      pos += character->length;
    } else {
      result += text[pos++];  // a byte that is not UTF-8 is kept as it is
    }
  }
  return result;
}

}  // namespace

std::string UpperCaseText(std::string_view text) { return MapText(text, true); }

std::string LowerCaseText(std::string_view text) { return MapText(text, false); }

std::string TitleCaseText(std::string_view text) {
  if (text.empty()) return {};
  const std::optional<Utf8Char> first = DecodeUtf8Char(text, 0);
  const std::size_t firstLength = first ? first->length : 1;
  return UpperCaseText(text.substr(0, firstLength)) + LowerCaseText(text.substr(firstLength));
}

}  // namespace lumivane
