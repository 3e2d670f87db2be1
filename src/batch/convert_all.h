#pragma once
// The conversion pass of a batch: every collected file in turn through the pipeline, with the per-file log.
#include <cstdint>
#include <string>

#include "batch/collected_files.h"
#include "batch/file_selection.h"
#include "batch/progress.h"
#include "batch/report.h"
#include "batch/run_options.h"
#include "settings/conversion_records.h"

namespace lumivane {

class DrawingFont;

// What a pass did with its files.
struct PassCounts {
  std::int32_t files = 0;      // the files it was given
  std::int32_t converted = 0;  // ... that were converted (or, in a dry run, would be)
  std::int32_t skipped = 0;    // ... whose output was up to date
};

// Converts the selected files (`selected`, taken from `files`) in the list's order, until the progress record's running
// flag goes off. Per file: publishes position, file and the previous file's duration; creates its output subfolders
// when subfolders are kept; with `verbose` prints "Processing: ", "File Format: " and then "[OK] Saving As: " or
// "[ERROR] Unable to convert the file!". A skipped file is not decoded: in their place it prints "[SKIPPED] Output
// exists: " and the output with `verbose`, and its report line says so. After a success the batch's numbering moves on
// and the output gets its file time; a failure uses up no number. Leaves the number converted in the progress count and
// returns it. The previous output bit depth of the numbering follows each file whose depth was fixed. Each file's
// decoding, edits and encoding run in a worker process (see isolated_conversion.h), so a file on which a library
// crashes or hangs fails like any other file and the pass goes on.
//
// With "--jobs" above 1, up to that many worker processes decode, edit and encode files into memory at once, while
// everything above (and the output's name, the check against the inputs and the write) happens for one file after
// the other in list order, so the console lines, names and files are those of a run with one job. A watermark text
// whose pixels depend on earlier files (OneFileAtATimeReason) makes the pass take one file at a time. Fewer files
// are worked on at once when the system gives fewer threads or workers; with no worker at all the files are
// converted in this process. With "--progress" a progress line is kept on the terminal; with a report, one line per
// file is written as the file is done (with the file's position in the whole collected list), and a summary line at
// the end. Once a stop signal has arrived (stop_signals.h) no file is started or written any more: the files in
// flight fail with kInterrupted, and the pass returns as soon as its workers are ended. No output is ever allowed
// to replace any file of `files`.
PassCounts ConvertAll(const BatchPlan& plan, const RunOptions& run, bool verbose, ProgressRecord& progress,
                      const CollectedFileList& files, const std::vector<SelectedFile>& selected,
                      const DrawingFont* watermarkFont, ReportWriter* report = nullptr);

// Makes sure outputFolder + relativeSubfolder exists, creating its folders one level after the other. Failures are
// silent: the file's conversion then fails when its output cannot be written.
void CreateOutputSubfolders(const std::string& outputFolder, const std::string& relativeSubfolder);

}  // namespace lumivane
