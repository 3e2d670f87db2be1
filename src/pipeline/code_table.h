#pragma once
// Tables that turn the code of a code-valued setting into the library value it stands for.
#include <cstddef>
#include <cstdint>

#include "settings/keywords.h"

namespace lumivane {

template <typename Code, typename Value>
struct CodeRow {
  Code code;
  Value value;
};

// The value of the row with this code, or fallback when no row has it.
template <typename Code, typename Value, std::size_t N>
constexpr Value ValueForCode(const CodeRow<Code, Value> (&rows)[N], Code code, Value fallback) {
  for (const CodeRow<Code, Value>& row : rows) {
    if (row.code == code) return row.value;
  }
  return fallback;
}

// Whether the rows hold the codes 0, 1, 2, ... in order, one row each.
template <typename Code, typename Value, std::size_t N>
constexpr bool CodesRunFromZero(const CodeRow<Code, Value> (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (CodeOf(rows[i].code) != static_cast<std::int32_t>(i)) return false;
  }
  return true;
}

}  // namespace lumivane
