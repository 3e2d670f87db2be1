#pragma once
// The command line's own options besides the advanced options of the option table: one row each, naming its keys,
// the kind of its value and the bounds of a number. The scan, the documents and the bash completion read them
// here. "-h", "-?", "--help", "-v" and "--version" are first-parameter commands, not rows of this table.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace lumivane {

enum class MainOption : std::uint8_t {
  kInput,
  kOutput,
  kConversion,
  kProfile,
  kDebug,
  kQuiet,
  kPause,
  // How the batch runs: command line only, never in a profile.
  kJobs,
  kProgress,
  kReport,
  kSkipExisting,
  kDryRun,
  kShard,
};

// What a main option's value is; the bash completion offers file names, folder names or formats by it.
enum class MainValue : std::uint8_t {
  kNone,    // takes no value (anything after "=" is ignored)
  kInput,   // a file, list file or folder to read
  kFolder,  // a folder
  kFormat,  // an output format identifier
  kFile,    // a file to read or write
  kCount,   // a whole number in decimal digits, low..high
  kShare,   // "K/N": whole numbers in decimal digits, low <= K <= N <= high
};

struct MainOptionRow {
  std::string_view shortKey;  // upper case ("-I"); "" when the option has no short form
  std::string_view longKey;   // upper case ("--INPUT")
  MainOption option;
  MainValue value;
  std::int32_t low = 0;  // bounds of kCount and kShare values
  std::int32_t high = 0;
};

// Every main option, in the order the documents list them.
std::span<const MainOptionRow> MainOptionTable();

// The row whose short or long key is `key` (upper case, as OptionKey gives it); nullptr when none.
const MainOptionRow* FindMainOption(std::string_view key);

// The row's number: decimal digits only (no sign, no blank), within low..high.
std::optional<std::int32_t> ParseCount(const MainOptionRow& row, std::string_view value);

// The row's share "K/N": K and N as ParseCount reads them, with K <= N.
struct Share {
  std::int32_t part = 0;
  std::int32_t parts = 0;
};
std::optional<Share> ParseShare(const MainOptionRow& row, std::string_view value);

}  // namespace lumivane
