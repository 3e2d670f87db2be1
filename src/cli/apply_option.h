#pragma once
// Writing an advanced option's value into the settings record through the option table.
#include <string_view>

#include "cli/option_table.h"
#include "settings/settings.h"

namespace lumivane {

// Applies the advanced option `name` (as known on the command line, any letter case) with the value the scan read
// for it; a name that is not a command-line advanced option is ignored. Flags ignore the value. Text values are
// quote-trimmed here; joining a value that was split over several parameters is the scan's part, before this call:
//
//   const OptionRow* row = FindOption(key, /*fromProfile=*/false);
//   if (row->kind != ValueKind::kFlag) {
//     value = OptionValue(index);                      // empty or "--..." is "Incorrect number of parameters"
//     if (row->kind == ValueKind::kText) index = QuoteJoin(value, index, parameterCount, OptionValue);
//   }
//   ApplyAdvancedOption(settings, key, value);
void ApplyAdvancedOption(Settings& settings, std::string_view name, std::string_view value);

// Applies one row with a value from the command line (fromProfile false) or from a profile entry (true). The two
// differ only for text: the command line quote-trims; a profile trims blanks, or quote-trims for rows that ask so.
void ApplyOptionRow(Settings& settings, const OptionRow& row, std::string_view value, bool fromProfile);

}  // namespace lumivane
