#include "batch/convert_all.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>

#include "batch/isolated_conversion.h"
#include "batch/output_file_time.h"
#include "batch/protected_inputs.h"
#include "batch/validate_job.h"
#include "formats/signature.h"
#include "platform/console.h"

namespace lumivane {

namespace {

// A converted file is reported as having taken at least a second.
constexpr std::int64_t kShortestDuration = 1000;

std::int64_t MillisecondClock() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool SetsFileTime(const Settings& settings) {
  return settings.advanced.fileTimestamp == kFileTimestampOriginal ||
         settings.advanced.fileTimestamp == kFileTimestampCustom;
}

}  // namespace

void CreateOutputSubfolders(const std::string& outputFolder, const std::string& relativeSubfolder) {
  if (IsExistingFolder(outputFolder + relativeSubfolder)) return;
  std::string path = outputFolder;
  for (std::size_t start = 0; start < relativeSubfolder.size();) {
    std::size_t end = relativeSubfolder.find('/', start);
    if (end == std::string::npos) end = relativeSubfolder.size();
    path += relativeSubfolder.substr(start, end - start) + "/";
    if (!IsExistingFolder(path)) ::mkdir(path.c_str(), 0777);
    start = end + 1;
  }
}

std::int32_t ConvertAll(const Settings& settings, JobRecord& job, ProgressRecord& progress,
                        const CollectedFileList& files, const DrawingFont* watermarkFont) {
  const bool verbose = IsVerbose(job);
  const ProtectedInputs inputs(files);
  const IsolationOptions isolation = IsolationOptionsFromEnvironment();
  std::int32_t index = 0;
  std::int32_t converted = 0;
  std::int64_t duration = 0;
  files.Visit([&](const CollectedFile& entry) {
    if (!progress.IsRunning()) return false;
    ++index;
    progress.StartFile(index, entry.path, duration);
    if (settings.advanced.keepSubfolders != 0) CreateOutputSubfolders(job.outputFolder, entry.relativeSubfolder);
    if (verbose) {
      PrintLine("Processing: " + entry.path);
      PrintLine("File Format: " + IdentifySignature(entry.path));
    }
    FileConversion file;
    file.inputFile = entry.path;
    file.relativeSubfolder = entry.relativeSubfolder;
    const std::int64_t start = MillisecondClock();
    const bool ok = ConvertImageFileIsolated(settings, job, inputs, file, watermarkFont, isolation);
    // A watermark's "%bpp%" shows the depth fixed for the file before, converted or not.
    if (job.automaticBitDepth != 0 && file.outputBitDepth != 0) job.previousOutputBitDepth = file.outputBitDepth;
    if (ok) {
      if (verbose) PrintLine("[OK] Saving As: " + file.outputFile);
      ++converted;
      duration = std::max(MillisecondClock() - start, kShortestDuration);
      job.randomNumber = DrawRandomNumber();
      ++job.fileCounter;
      if (SetsFileTime(settings)) SetOutputFileTime(settings, file.outputFile, entry.path);
    } else {
      duration = 0;
      if (verbose) PrintLine("[ERROR] Unable to convert the file!");
    }
    return true;
  });
  progress.SetCount(converted);
  return converted;
}

}  // namespace lumivane
