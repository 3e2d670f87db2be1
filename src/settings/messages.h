#pragma once
// The program's fixed console texts besides the string table's: the messages of its "Error: " lines (the checks of
// single settings carry theirs in the settings table) and the labels of its other lines. One row each; code names
// them, and the command line alone prints "Error: " lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumivane {

enum class Message : std::uint8_t {
  // Errors: printed after "Error: ", each ends the run before any file is touched.
  kIncorrectParameters,
  kInvalidProfile,
  kInvalidJobs,
  kInvalidShard,
  kInvalidInputFile,
  kIncorrectInputFolder,
  kInvalidInputFolder,
  kIncorrectOutputFolder,
  kInvalidOutputFolder,
  kInvalidConversionType,
  kInvalidReportFile,
  kInvalidFilenameMask,   // with "--skip-existing" or "--shard": a token the name cannot be known from before decoding
  kInvalidWatermarkText,  // ... and the same in the watermark text
  // Lines.
  kNoInput,  // %s1% is the program's name
  kPressAnyKey,
  kInputLine,  // debug listing: the input folder, output folder and output format
  kOutputLine,
  kConversionLine,
  kJobsLine,  // debug listing: the run options given, after "Keep Subfolders: "
  kSkipExistingLine,
  kDryRunLine,
  kShardLine,
  kProcessing,  // per file in debug mode, each followed by the path, format or output path
  kFileFormat,
  kSaved,
  kNotConverted,
  kSkipped,     // per file with "--skip-existing", in debug mode (in a dry run always): the output path
  kDryRunFile,  // per file in a dry run, followed by the input, then kDryRunArrow and the output
  kDryRunArrow,
  kFilesSkipped,  // after "Files converted: " with "--skip-existing": %s1% the number
};

struct MessageRow {
  Message message;
  std::string_view text;
};

inline constexpr MessageRow kMessages[] = {
    {Message::kIncorrectParameters, "Incorrect number of parameters"},
    {Message::kInvalidProfile, "Invalid profile file"},
    {Message::kInvalidJobs, "Invalid jobs value"},
    {Message::kInvalidShard, "Invalid shard value"},
    {Message::kInvalidInputFile, "Invalid input file"},
    {Message::kIncorrectInputFolder, "Incorrect input folder"},
    {Message::kInvalidInputFolder, "Invalid input folder"},
    {Message::kIncorrectOutputFolder, "Incorrect output folder"},
    {Message::kInvalidOutputFolder, "Invalid output folder"},
    {Message::kInvalidConversionType, "Invalid conversion type"},
    {Message::kInvalidReportFile, "Invalid report file"},
    {Message::kInvalidFilenameMask, "Invalid filename mask"},
    {Message::kInvalidWatermarkText, "Invalid watermark text"},
    {Message::kNoInput, "No input given. Run %s1% --help for usage."},
    {Message::kPressAnyKey, "Press any key to exit."},
    {Message::kInputLine, "Input: "},
    {Message::kOutputLine, "Output: "},
    {Message::kConversionLine, "Conversion: "},
    {Message::kJobsLine, "Jobs: "},
    {Message::kSkipExistingLine, "Skip Existing: "},
    {Message::kDryRunLine, "Dry Run: "},
    {Message::kShardLine, "Shard: "},
    {Message::kProcessing, "Processing: "},
    {Message::kFileFormat, "File Format: "},
    {Message::kSaved, "[OK] Saving As: "},
    {Message::kNotConverted, "[ERROR] Unable to convert the file!"},
    {Message::kSkipped, "[SKIPPED] Output exists: "},
    {Message::kDryRunFile, "[DRY RUN] "},
    {Message::kDryRunArrow, " -> "},
    {Message::kFilesSkipped, "Files skipped: %s1%"},
};

constexpr bool MessagesFollowTheirCodes() {
  for (std::size_t i = 0; i < std::size(kMessages); ++i) {
    if (static_cast<std::size_t>(kMessages[i].message) != i || kMessages[i].text.empty()) return false;
  }
  return true;
}
static_assert(MessagesFollowTheirCodes(), "one row per message, in the order of their codes");

constexpr std::string_view MessageText(Message message) { return kMessages[static_cast<std::size_t>(message)].text; }

}  // namespace lumivane
