#pragma once
// "--dry-run": what a run would write, without decoding, creating or writing anything but the report.
#include <vector>

#include "batch/convert_all.h"
#include "batch/file_selection.h"
#include "batch/report.h"
#include "settings/conversion_records.h"

namespace lumivane {

// Names every selected file as the conversion pass would, taking each to convert (so "%n%" counts every one) and
// leaving the tokens that need the decoded picture as written. Per file, in the list's order, prints
// "[DRY RUN] input -> output", or "[SKIPPED] Output exists: output" for a file whose output is up to date, and
// writes its report line (reason "dry_run" or "skipped", with the output); then the summary line.
PassCounts DryRunAll(const BatchPlan& plan, const std::vector<SelectedFile>& selected, ReportWriter* report);

}  // namespace lumivane
