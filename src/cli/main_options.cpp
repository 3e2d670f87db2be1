#include "cli/main_options.h"

#include <array>

#include "batch/run_options.h"

namespace lumivane {
namespace {

constexpr std::array kMainOptions = {
    MainOptionRow{"-I", "--INPUT", MainOption::kInput, MainValue::kInput},
    MainOptionRow{"-O", "--OUTPUT", MainOption::kOutput, MainValue::kFolder},
    MainOptionRow{"-C", "--CONVERSION", MainOption::kConversion, MainValue::kFormat},
    MainOptionRow{"", "--PROFILE", MainOption::kProfile, MainValue::kFile},
    MainOptionRow{"-D", "--DEBUG", MainOption::kDebug, MainValue::kNone},
    MainOptionRow{"-Q", "--QUIET", MainOption::kQuiet, MainValue::kNone},
    MainOptionRow{"-P", "--PAUSE", MainOption::kPause, MainValue::kNone},
    MainOptionRow{"", "--JOBS", MainOption::kJobs, MainValue::kCount, 0, kMostJobs},
    MainOptionRow{"", "--PROGRESS", MainOption::kProgress, MainValue::kNone},
    MainOptionRow{"", "--REPORT", MainOption::kReport, MainValue::kFile},
    MainOptionRow{"", "--SKIP-EXISTING", MainOption::kSkipExisting, MainValue::kNone},
    MainOptionRow{"", "--DRY-RUN", MainOption::kDryRun, MainValue::kNone},
    MainOptionRow{"", "--SHARD", MainOption::kShard, MainValue::kShare, 1, kMostShards},
};

constexpr bool RowsFollowTheirCodes() {
  for (std::size_t i = 0; i < kMainOptions.size(); ++i) {
    if (static_cast<std::size_t>(kMainOptions[i].option) != i) return false;
  }
  return true;
}
static_assert(RowsFollowTheirCodes(), "one row per main option, in the order of their codes");

// At most this many digits are read, so that a number cannot overflow before its bound is checked.
constexpr std::size_t kMostDigits = 9;

}  // namespace

std::span<const MainOptionRow> MainOptionTable() { return kMainOptions; }

const MainOptionRow* FindMainOption(std::string_view key) {
  for (const MainOptionRow& row : kMainOptions) {
    if (key == row.longKey || (!row.shortKey.empty() && key == row.shortKey)) return &row;
  }
  return nullptr;
}

std::optional<std::int32_t> ParseCount(const MainOptionRow& row, std::string_view value) {
  if (value.empty() || value.size() > kMostDigits) return std::nullopt;
  std::int32_t number = 0;
  for (const char digit : value) {
    if (digit < '0' || digit > '9') return std::nullopt;
    number = number * 10 + (digit - '0');
  }
  if (number < row.low || number > row.high) return std::nullopt;
  return number;
}

std::optional<Share> ParseShare(const MainOptionRow& row, std::string_view value) {
  const std::size_t slash = value.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<std::int32_t> part = ParseCount(row, value.substr(0, slash));
  const std::optional<std::int32_t> parts = ParseCount(row, value.substr(slash + 1));
  if (!part || !parts || *part > *parts) return std::nullopt;
  return Share{*part, *parts};
}

}  // namespace lumivane
