#include "batch/run_options_review.h"

#include "batch/parallel_plan.h"
#include "formats/registry.h"
#include "settings/name_tokens.h"

namespace lumivane {

namespace {

std::string Labelled(Message label, const std::string& value) { return std::string(MessageText(label)) + value; }

std::optional<Message> CheckNamesBeforeDecoding(const Settings& settings, bool automaticDepth) {
  if (FirstTokenOfTheRunOrPicture(settings.advanced.filenameMask, automaticDepth) != nullptr) {
    return Message::kInvalidFilenameMask;
  }
  if (settings.watermark.doWatermark == WatermarkKind::kText &&
      FirstTokenOfTheRunOrPicture(settings.watermark.text, automaticDepth) != nullptr) {
    return Message::kInvalidWatermarkText;
  }
  return std::nullopt;
}

}  // namespace

RunOptionsReview ReviewRunOptions(const Settings& settings, std::string_view outputFormat, const RunOptions& run,
                                  bool list) {
  RunOptionsReview review;
  const bool automaticDepth = BitDepthSettingValue(settings, outputFormat) == 0;
  if (list) {
    if (run.jobsGiven) {
      review.lines.push_back(
          JobsListingLine(ResolveJobCount(run.jobs), OneFileAtATimeReason(settings, automaticDepth)));
    }
    if (run.skipExisting) review.lines.push_back(Labelled(Message::kSkipExistingLine, "1"));
    if (run.dryRun) review.lines.push_back(Labelled(Message::kDryRunLine, "1"));
    if (run.shardCount > 0) {
      review.lines.push_back(
          Labelled(Message::kShardLine, std::to_string(run.shard) + "/" + std::to_string(run.shardCount)));
    }
  }
  if (run.skipExisting || run.shardCount > 0) review.error = CheckNamesBeforeDecoding(settings, automaticDepth);
  return review;
}

}  // namespace lumivane
