#pragma once
// The records of a batch: the job (batch-wide state), one file's conversion, and the few checks on them.
#include <cstdint>
#include <string>

#include "batch/run_options.h"

namespace lumivane {

// Batch-wide state. Filled by the command-line driver and the batch driver; read by collection, naming and the
// per-file step. Folders end in "/".
struct JobRecord {
  std::string programFolder;  // folder of the running program; relative input and output folders resolve here
  std::string projectName;    // windowed edition only; "untitled.lvx" after a reset
  std::string inputFile;      // a single image or a list file; empty when the input is a folder
  std::string inputFolder;    // folder to convert; empty when the input is a file
  std::string outputFolder;   // folder that receives the results
  std::string outputFormat;   // output format identifier ("jpg")
  std::string inputFormat;    // input format group whose decoding options the debug listing shows ("raw")
  std::int32_t encoderTypeId{};           // encoder of the output format
  std::int32_t outputBitDepth{};          // the output format's bit-depth setting; 0 for automatic
  std::int32_t saveFlags{};               // encoder flags of the output format
  std::int8_t automaticBitDepth{};        // 1 when outputBitDepth is 0: each file's depth is chosen per file
  std::int8_t consoleMode{};              // 1 in a command-line run
  std::string debugMarker;                // "DEBUG" when debug mode was requested
  std::int32_t randomNumber{};            // "%rnd%": 1..99999, drawn anew after each converted file
  std::int32_t fileCounter{};             // "%n%": starts at 1, grows after each converted file
  std::int32_t previousOutputBitDepth{};  // depth fixed for the previous file (0 before the first); "%bpp%" of a
                                          // watermark text shows it when the depth is automatic
  RunOptions runOptions;                  // "--jobs", "--progress", "--report" of the command line
};

// Why a file was not converted. The per-file step only counts failures; the reason helps tests and logs.
enum class ConversionFailure : std::int8_t {
  kNone,
  kUnreadable,        // the input could not be opened or read
  kUndecodable,       // no decoder produced an image
  kEditFailed,        // a transform, frame or watermark step failed
  kEncodeFailed,      // the encoder refused the image
  kWriteFailed,       // the output could not be written, flushed or renamed into place
  kWouldReplaceInput,  // the output path names one of the collected inputs
  kWorkerCrashed,      // the process converting the file died or left no complete result
  kWorkerTimedOut      // the process converting the file ran past its time limit
};

// One file on its way through the pipeline. The pipeline is handed this record and fills the later fields.
struct FileConversion {
  std::string inputFile;          // full path as collected
  std::string relativeSubfolder;  // folder below the input folder, "" or ending in "/"
  std::string outputFile;         // full path of the output, once named
  std::string temporaryFile;      // path written first and renamed onto outputFile
  std::int32_t sourceBitDepth{};  // bit depth of the decoded image
  std::int32_t outputBitDepth{};  // bit depth the file is written with (final, also when automatic)
  std::int32_t imageWidth{};      // working size after resizing and the icon limit
  std::int32_t imageHeight{};
  std::int32_t frameNumber{1};
  ConversionFailure failure{ConversionFailure::kNone};
  std::string failureText;        // detail for the failure, "" when none
};

inline constexpr const char* kUntitledProjectName = "untitled.lvx";
inline constexpr const char* kDebugMarker = "DEBUG";
inline constexpr std::int32_t kLargestRandomNumber = 99999;

// Clears every field; project name "untitled.lvx", file counter 1 and a freshly drawn random number.
void ResetJob(JobRecord& job);

// A uniformly drawn number in 1..99999. Safe to call from several threads.
std::int32_t DrawRandomNumber();

// Debug mode: the debug marker is exactly "DEBUG".
bool IsDebugMode(const JobRecord& job);
// Per-file log lines: a command-line run in debug mode.
bool IsVerbose(const JobRecord& job);

}  // namespace lumivane
