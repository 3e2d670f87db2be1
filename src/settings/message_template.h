#pragma once
// Message templates: texts in which "%s1%" to "%s4%" stand for up to four arguments.
#include <string>

namespace lumivane {

// Fills the placeholders, matched without regard to case, one argument after the other: argument k replaces
// every "%sk%" of the text as it stands after arguments 1..k-1, so a placeholder that an earlier argument
// brings in is filled by a later one. An empty argument leaves its placeholder in place.
std::string FillTemplate(const std::string& messageTemplate, const std::string& s1 = "", const std::string& s2 = "",
                         const std::string& s3 = "", const std::string& s4 = "");

}  // namespace lumivane
