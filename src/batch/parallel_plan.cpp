#include "batch/parallel_plan.h"

#include <algorithm>
#include <thread>

#include "platform/ascii_text.h"
#include "settings/messages.h"

namespace lumivane {

namespace {

struct DependentToken {
  std::string_view token;  // lower case; watermark tokens match without regard to case
  bool onlyWithAutomaticDepth;
  std::string_view reason;
};

constexpr DependentToken kDependentTokens[] = {
    {"%n%", false, "the watermark text uses %n%"},
    {"%rnd%", false, "the watermark text uses %rnd%"},
    {"%bpp%", true, "the watermark text uses %bpp% with automatic bit depth"},
};

}  // namespace

std::int32_t ResolveJobCount(std::int32_t requested, unsigned cores) {
  if (requested > 0) return requested;
  return static_cast<std::int32_t>(std::max(1u, cores));
}

std::int32_t ResolveJobCount(std::int32_t requested) {
  return ResolveJobCount(requested, std::thread::hardware_concurrency());
}

std::string_view OneFileAtATimeReason(const Settings& settings, bool automaticBitDepth) {
  if (settings.watermark.doWatermark != WatermarkKind::kText) return "";
  const std::string text = AsciiLower(settings.watermark.text);
  for (const DependentToken& row : kDependentTokens) {
    if (row.onlyWithAutomaticDepth && !automaticBitDepth) continue;
    if (text.find(row.token) != std::string::npos) return row.reason;
  }
  return "";
}

std::string JobsListingLine(std::int32_t jobs, std::string_view oneFileAtATimeReason) {
  std::string line = std::string(MessageText(Message::kJobsLine)) + std::to_string(jobs);
  if (!oneFileAtATimeReason.empty()) line += " (one file at a time: " + std::string(oneFileAtATimeReason) + ")";
  return line;
}

}  // namespace lumivane
