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
  kInvalidInputFile,
  kIncorrectInputFolder,
  kInvalidInputFolder,
  kIncorrectOutputFolder,
  kInvalidOutputFolder,
  kInvalidConversionType,
  kInvalidReportFile,
  // Lines.
  kNoInput,  // %s1% is the program's name
  kPressAnyKey,
  kInputLine,  // debug listing: the input folder, output folder and output format
  kOutputLine,
  kConversionLine,
  kJobsLine,
  kProcessing,  // per file in debug mode, each followed by the path, format or output path
  kFileFormat,
  kSaved,
  kNotConverted,
};

struct MessageRow {
  Message message;
  std::string_view text;
};

inline constexpr MessageRow kMessages[] = {
    {Message::kIncorrectParameters, "Incorrect number of parameters"},
    {Message::kInvalidProfile, "Invalid profile file"},
    {Message::kInvalidJobs, "Invalid jobs value"},
    {Message::kInvalidInputFile, "Invalid input file"},
    {Message::kIncorrectInputFolder, "Incorrect input folder"},
    {Message::kInvalidInputFolder, "Invalid input folder"},
    {Message::kIncorrectOutputFolder, "Incorrect output folder"},
    {Message::kInvalidOutputFolder, "Invalid output folder"},
    {Message::kInvalidConversionType, "Invalid conversion type"},
    {Message::kInvalidReportFile, "Invalid report file"},
    {Message::kNoInput, "No input given. Run %s1% --help for usage."},
    {Message::kPressAnyKey, "Press any key to exit."},
    {Message::kInputLine, "Input: "},
    {Message::kOutputLine, "Output: "},
    {Message::kConversionLine, "Conversion: "},
    {Message::kJobsLine, "Jobs: "},
    {Message::kProcessing, "Processing: "},
    {Message::kFileFormat, "File Format: "},
    {Message::kSaved, "[OK] Saving As: "},
    {Message::kNotConverted, "[ERROR] Unable to convert the file!"},
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
