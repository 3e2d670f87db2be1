#pragma once
// Wording shared by the manual page and the user guide, so both say the same about an option.
#include <string>
#include <string_view>
#include <vector>

#include "reference/descriptions.h"
#include "reference/reference_model.h"

namespace lumivane::reference {

// The pieces joined with `separator`, each wrapped in `before` and `after`.
std::string Join(const std::vector<std::string>& pieces, std::string_view separator, std::string_view before = "",
                 std::string_view after = "");

// "whole number", "decimal number", "text", "keyword", "" (flags take no value), followed by the bounds that the
// option's setting is checked against: "whole number, 1 to 100".
std::string ValueWords(const AdvancedOption& option);

// The placeholder of a main option's value as described ("FILE"), and the sentence on its bounds
// ("N: a whole number from 0 to 1024."), or "".
std::string MainPlaceholder(const MainOption& option, const Descriptions& descriptions);
std::string MainBoundsSentence(const MainOption& option, const Descriptions& descriptions);

// Marks up a literal word (an option name, a keyword) in the document's syntax.
using MarkCode = std::string (*)(std::string_view word);

// The sentences after an option's description: where the option is known and the edit it switches on as well.
// "" when there is nothing to add.
std::string OptionFacts(const AdvancedOption& option, MarkCode code);

// The sentence on the keywords that the compression options of other formats bring in, or "".
std::string OtherKeywordsNote(const AdvancedOption& option);

}  // namespace lumivane::reference
