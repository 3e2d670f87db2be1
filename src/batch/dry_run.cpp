#include "batch/dry_run.h"

#include <string>

#include "batch/job.h"
#include "batch/output_naming.h"
#include "platform/console.h"
#include "settings/messages.h"

namespace lumivane {

PassCounts DryRunAll(const BatchPlan& plan, const std::vector<SelectedFile>& selected, ReportWriter* report) {
  PassCounts counts{static_cast<std::int32_t>(selected.size()), 0, 0};
  FileNumbering numbering = FirstFileNumbering();
  for (const SelectedFile& file : selected) {
    FileReport line;
    line.index = file.position;
    line.input = file.entry->path;
    if (file.Skipped()) {
      ++counts.skipped;
      line.output = file.existingOutput;
      line.failure = ConversionFailure::kSkipped;
      PrintLine(std::string(MessageText(Message::kSkipped)) + line.output);
    } else {
      ++counts.converted;
      line.output = OutputPathBeforeDecoding(plan, {file.entry->path, file.entry->relativeSubfolder, numbering});
      line.failure = ConversionFailure::kDryRun;
      PrintLine(std::string(MessageText(Message::kDryRunFile)) + line.input +
                std::string(MessageText(Message::kDryRunArrow)) + line.output);
      NumberNextFile(numbering);
    }
    if (report != nullptr) report->WriteLine(FileReportLine(line));
  }
  if (report != nullptr) {
    ReportSummary summary;
    summary.files = counts.files;
    summary.skipped = counts.skipped;
    report->WriteLine(SummaryReportLine(summary));
  }
  return counts;
}

}  // namespace lumivane
