#pragma once
// The report of a batch ("--report=FILE"): JSON Lines, one object per input file written as the file is
// committed, then one summary object, so that a reader can follow a running batch line by line.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/conversion_records.h"

namespace lumivane {

// One input file's outcome.
struct FileReport {
  std::int32_t index{};  // 1-based position in the collected list
  std::string input;     // full input path
  std::string output;    // output path when it was written, or kept or named on purpose (skipped, dry run), else ""
  bool converted{};
  ConversionFailure failure{ConversionFailure::kNone};
  std::string detail;    // the failure's detail, or what a converted file's conversion noted; "" when none
  std::int32_t width{};  // working size and output depth, 0 when not known
  std::int32_t height{};
  std::int32_t bitDepth{};
  std::int64_t milliseconds{};  // time the file's conversion took
};

struct ReportSummary {
  std::int32_t files{};  // files collected (with "--shard", those of the run's share)
  std::int32_t converted{};
  std::int32_t failed{};  // files committed without an output, apart from the skipped ones
  std::int32_t jobs{};    // files worked on at once (fewer than asked when the system gave fewer threads or workers)
  std::int64_t milliseconds{};
  std::int32_t skipped{};         // files whose output was up to date ("--skip-existing"); shown after "failed"
  std::int32_t workersStarted{};  // worker processes started: one per job, and one more after each failed file
  bool inProcess{};               // converted in the main process: no worker process could be had
  bool interrupted{};             // a stop signal ended the run; the files not reported were not started
};

// A JSON string literal, quotes included, for any bytes: quote, backslash and control characters are escaped,
// valid UTF-8 is kept, every byte that is not valid UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view bytes);
// The bytes as lower-case hexadecimal, for paths that are not valid UTF-8 and so cannot be shown exactly.
std::string HexBytes(std::string_view bytes);

// The report's lines, each one JSON object without the line end. A path that is not valid UTF-8 gets a second
// field with its exact bytes in hexadecimal ("input_hex", "output_hex").
std::string FileReportLine(const FileReport& file);
std::string SummaryReportLine(const ReportSummary& summary);

// The report file, written from one thread (the one that commits files).
class ReportWriter {
 public:
  ReportWriter() = default;
  ~ReportWriter();
  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  // Creates or empties the file; false when it cannot be opened for writing.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Opens the file for writing without changing it (made when missing), so that it can be compared with the
  // inputs before anything is written; Empty then starts the report. False when it cannot be opened for writing
  // without waiting (a pipe that nobody reads).
  bool OpenKept(const std::string& path);
  // Device and inode of the open file.
  bool Identity(dev_t& device, ino_t& inode) const;
  // Cuts the file to nothing; false when that fails.
  bool Empty();
  // Appends the line and a line feed straight to the file (no buffer), so a reader sees each line at once.
  // False when the line could not be written whole (a full disk): the file is cut back to its last whole line,
  // and later lines are still tried.
  bool WriteLine(const std::string& line);
  // Closes the file; false when closing reported an error or a line could not be written: the report is not
  // complete.
  bool Close();

 private:
  int fd_ = -1;
  off_t size_ = 0;  // bytes of whole lines written
  bool complete_ = true;
};

}  // namespace lumivane
