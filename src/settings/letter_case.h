#pragma once
// Upper, lower and title case of UTF-8 text, by the Unicode simple case mappings. Bytes that are not valid UTF-8
// are kept as they are. Used for file names and filename masks, which may hold any letters.
#include <string>
#include <string_view>

namespace lumivane {

std::string UpperCaseText(std::string_view text);
std::string LowerCaseText(std::string_view text);
// First character in upper case, every following one in lower case: "IMG_0001" gives "Img_0001".
std::string TitleCaseText(std::string_view text);

}  // namespace lumivane
