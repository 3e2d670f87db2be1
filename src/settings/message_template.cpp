#include "settings/message_template.h"

#include <array>

#include "platform/ascii_text.h"

namespace lumivane {

namespace {

// `pattern` is lower case.
size_t FindIgnoringCase(const std::string& text, const std::string& pattern, size_t from) {
  for (size_t at = from; at + pattern.size() <= text.size(); ++at) {
    if (HoldsIgnoringAsciiCase(text, at, pattern)) return at;
  }
  return std::string::npos;
}

// Replaces every occurrence; the search goes on after each inserted value, so a value that holds the
// placeholder itself is not filled again.
void ReplaceAllIgnoringCase(std::string& text, const std::string& placeholder, const std::string& value) {
  size_t at = FindIgnoringCase(text, placeholder, 0);
  while (at != std::string::npos) {
    text.replace(at, placeholder.size(), value);
    at = FindIgnoringCase(text, placeholder, at + value.size());
  }
}

}  // namespace

std::string FillTemplate(const std::string& messageTemplate, const std::string& s1, const std::string& s2,
                         const std::string& s3, const std::string& s4) {
  if (messageTemplate.empty()) return "";
  std::string text = messageTemplate;
  const std::array<const std::string*, 4> arguments = {&s1, &s2, &s3, &s4};
  for (size_t k = 0; k < arguments.size(); ++k) {
    if (arguments[k]->empty()) continue;
    ReplaceAllIgnoringCase(text, "%s" + std::to_string(k + 1) + "%", *arguments[k]);
  }
  return text;
}

}  // namespace lumivane
