#pragma once
// The job: what the command line asked the batch to do, and the few checks on it. Per-file records are in
// settings/conversion_records.h.
#include <cstdint>
#include <string>

#include "batch/run_options.h"
#include "settings/conversion_records.h"

namespace lumivane {

// Batch-wide state. Filled by the command-line driver and the batch driver; read by collection and the batch plan.
// Folders end in "/".
struct JobRecord {
  std::string currentFolder;  // folder the run was started in; relative input and output folders resolve here
  std::string projectName;    // windowed edition only; "untitled.lvx" after a reset
  std::string inputFile;      // a single image or a list file; empty when the input is a folder
  std::string inputFolder;    // folder to convert; empty when the input is a file
  std::string outputFolder;   // folder that receives the results
  std::string outputFormat;   // output format identifier ("jpg")
  std::string inputFormat;    // input format group whose decoding options the debug listing shows ("raw")
  std::int8_t consoleMode{};  // 1 in a command-line run
  std::string debugMarker;    // "DEBUG" when debug mode was requested
  RunOptions runOptions;      // "--jobs", "--report", "--shard" and the other run options of the command line
};

inline constexpr const char* kUntitledProjectName = "untitled.lvx";
inline constexpr const char* kDebugMarker = "DEBUG";
inline constexpr std::int32_t kLargestRandomNumber = 99999;

// Clears every field; project name "untitled.lvx".
void ResetJob(JobRecord& job);

// A uniformly drawn number in 1..99999. Safe to call from several threads.
std::int32_t DrawRandomNumber();
// The numbering of a batch's first file: counter 1 and a freshly drawn random number.
FileNumbering FirstFileNumbering();
// The numbering after a converted file: the counter grows and the random number is drawn anew.
void NumberNextFile(FileNumbering& numbering);

// Debug mode: the debug marker is exactly "DEBUG".
bool IsDebugMode(const JobRecord& job);
// Per-file log lines: a command-line run in debug mode.
bool IsVerbose(const JobRecord& job);

}  // namespace lumivane
