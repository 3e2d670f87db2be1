#pragma once
// The records that pass between the batch and the pipeline (and to a worker process and back): the batch plan,
// fixed for the run; the numbering of a file, which the batch renews after each converted file; the file the
// pipeline is handed; and what the pipeline gives back for it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace lumivane {

// What every file of a run is converted with, fixed once the settings have been checked.
struct BatchPlan {
  Settings settings;
  std::string outputFormat;  // output format identifier ("jpg")
  std::string outputFolder;  // the folder that receives the outputs, ending in "/"
};

// The batch's counters as they stand when a file is handed over; its watermark text and its output name show them.
struct FileNumbering {
  std::int32_t fileCounter = 1;             // "%n%": grows after each converted file
  std::int32_t randomNumber = 0;            // "%rnd%": 1..99999, drawn anew after each converted file
  std::int32_t previousOutputBitDepth = 0;  // depth fixed for the file before (0 before the first): the "%bpp%" of a
                                            // watermark text when the depth is automatic
};

// One file as the pipeline is handed it.
struct FileToConvert {
  std::string inputFile;          // full path as collected
  std::string relativeSubfolder;  // folder below the input folder, "" or ending in "/"
  FileNumbering numbering;
};

// Why a file was not converted: a failure, or (the last two) a file the run left alone on purpose.
enum class ConversionFailure : std::int8_t {
  kNone,
  kUnreadable,           // the input could not be opened or read
  kUndecodable,          // no decoder produced an image
  kDamaged,              // the RAW pixel data the file declares is cut short
  kEditFailed,           // a transform, frame or watermark step failed
  kEncodeFailed,         // the encoder refused the image
  kWriteFailed,          // the output could not be written, flushed or renamed into place
  kWouldReplaceInput,    // the output path names one of the collected inputs
  kWorkerCrashed,        // the process converting the file died or left no complete result
  kWorkerTimedOut,       // the process converting the file ran past its time limit
  kOutsideOutputFolder,  // the output path's ".." parts lead out of the output folder
  kPathTooLong,          // the input path is longer than the system lets a file be opened by
  kInterrupted,          // a stop signal ended the run before the file was done
  kOutOfMemory,          // the file's conversion ran out of memory
  kSkipped,              // "--skip-existing": its output exists and is up to date, the input was not decoded
  kDryRun,               // "--dry-run": named and listed, nothing decoded or written
};

// The reason code of each failure in the report ("" for none), and whether it counts as a failed file (exit code 1).
struct FailureReasonRow {
  ConversionFailure failure;
  std::string_view reason;
  bool failed;
};
inline constexpr FailureReasonRow kFailureReasons[] = {
    {ConversionFailure::kNone, "", false},
    {ConversionFailure::kUnreadable, "unreadable", true},
    {ConversionFailure::kUndecodable, "undecodable", true},
    {ConversionFailure::kDamaged, "damaged", true},
    {ConversionFailure::kEditFailed, "edit_failed", true},
    {ConversionFailure::kEncodeFailed, "encode_failed", true},
    {ConversionFailure::kWriteFailed, "write_failed", true},
    {ConversionFailure::kWouldReplaceInput, "would_replace_input", true},
    {ConversionFailure::kWorkerCrashed, "worker_crashed", true},
    {ConversionFailure::kWorkerTimedOut, "worker_timed_out", true},
    {ConversionFailure::kOutsideOutputFolder, "outside_output_folder", true},
    {ConversionFailure::kPathTooLong, "path_too_long", true},
    {ConversionFailure::kInterrupted, "interrupted", true},
    {ConversionFailure::kOutOfMemory, "out_of_memory", true},
    {ConversionFailure::kSkipped, "skipped", false},
    {ConversionFailure::kDryRun, "dry_run", false},
};

// The reason code of a failure; "unknown" for a number that names none.
constexpr std::string_view FailureReasonCode(ConversionFailure failure) {
  const auto index = static_cast<std::size_t>(failure);
  return index < std::size(kFailureReasons) ? kFailureReasons[index].reason : "unknown";
}

// A file that was not converted and was not left alone on purpose.
constexpr bool IsFailure(ConversionFailure failure) {
  const auto index = static_cast<std::size_t>(failure);
  return index >= std::size(kFailureReasons) || kFailureReasons[index].failed;
}

constexpr bool FailureReasonsFollowTheirCodes() {
  for (std::size_t i = 0; i < std::size(kFailureReasons); ++i) {
    if (static_cast<std::size_t>(kFailureReasons[i].failure) != i) return false;
  }
  return true;
}
static_assert(FailureReasonsFollowTheirCodes(), "one row per failure, in the order of their codes");

// What the pipeline gives for one file: the bytes of the output file and the facts its name and the report show,
// or why it failed.
struct ConvertedFile {
  ConversionFailure failure = ConversionFailure::kNone;
  std::string detail;             // the failure's detail, or what a conversion noted (AddDetail); "" when none
  std::int32_t sourceBitDepth{};  // bit depth of the decoded image
  std::int32_t outputBitDepth{};  // bit depth the file is written with (final, also when automatic)
  std::int32_t imageWidth{};      // working size after resizing and the icon limit
  std::int32_t imageHeight{};
  std::int32_t frameNumber{1};
  std::vector<unsigned char> encoded;  // the output file's bytes

  bool Converted() const { return failure == ConversionFailure::kNone; }
};

// Adds a note to what the file's report line says ("; " between notes).
inline void AddDetail(ConvertedFile& converted, std::string_view note) {
  if (!converted.detail.empty()) converted.detail += "; ";
  converted.detail += note;
}

}  // namespace lumivane
