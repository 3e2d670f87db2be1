#pragma once
// Collection of a batch's input files into the collected file list: from a folder (every depth), from a list
// file (one path per line) or a single image file. Unusable entries are skipped silently.
#include <cstdint>
#include <string>
#include <string_view>

#include "batch/collected_files.h"
#include "batch/job.h"
#include "batch/progress.h"

namespace lumivane {

// Collects the job's input: its input folder when set, else its input file, which is a list file when its
// extension is "txt" or "lst" in any case, else a single image. A folder or list is collected on a worker thread
// that this call starts and waits for. The caller resets the progress record first; afterwards its count holds
// the number of files added, which is also returned.
std::int32_t CollectInputs(const JobRecord& job, ProgressRecord& progress, CollectedFileList& list);

// The folder worker: every entry of the input folder ("/"-terminated) in enumeration order, subfolders scanned as
// they are met, one scan as ScanFolder's. Publishes the position per top-level entry, stops taking entries once the
// running flag is off, and adds its total to the progress count at the end. Returns the number of files added.
std::int32_t CollectFolder(const std::string& inputFolder, ProgressRecord& progress, CollectedFileList& list);

// The list worker: each line names a file or a folder, absolute or relative to the current folder. A folder is
// scanned at every depth with empty relative subfolders. Publishes the position per line that names something,
// adds its total to the progress count at the end. Returns the number of files added.
std::int32_t CollectListFile(const std::string& listPath, ProgressRecord& progress, CollectedFileList& list);

// Scans a folder depth first at every depth, hidden entries included. Symbolic links to folders are followed, but
// no folder (device and inode) is entered twice, whatever path leads there again: the first path met wins, so a
// link loop ends and a file is collected once however many links lead to its folder. Kernel views (/proc, /sys)
// that a link leads into are not entered. Returns the files added.
std::int32_t ScanFolder(const std::string& folder, const std::string& inputFolder, CollectedFileList& list);

// Adds a non-empty regular file whose extension is accepted and that is not in the list yet; 1 when added, else 0.
// Its relative subfolder is taken against inputFolder ("" for lists and single files). A path longer than the system
// lets a file be opened by is added unchecked, so that the file fails with its reason instead of vanishing.
std::int32_t AddInputFile(const std::string& path, const std::string& inputFolder, CollectedFileList& list);

// The folder of path below base: the folder part of path without the leading base, e.g. "day1/raw/". Empty when
// either is empty or the folder does not begin with base.
std::string RelativeSubfolder(std::string_view path, std::string_view base);

// A list file is named by the extension "txt" or "lst", compared without regard to case.
bool IsListFile(std::string_view path);

}  // namespace lumivane
