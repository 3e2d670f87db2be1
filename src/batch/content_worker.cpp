#include "batch/content_worker.h"

#include <vector>

#include "batch/content_request.h"
#include "batch/content_result.h"
#include "batch/worker_greeting.h"
#include "formats/registry.h"
#include "pipeline/convert_image_file.h"
#include "pipeline/edit_steps.h"
#include "pipeline/encoder_setup.h"
#include "platform/drawing_font.h"
#include "platform/library_threads.h"
#include "platform/process.h"
#include "platform/worker_channel.h"
#include "platform/worker_mode.h"

namespace lumivane {

std::optional<int> ServeAsContentWorker() {
  const int channel = WorkerChannelFromParent();
  if (channel < 0) return std::nullopt;
  if (!PrepareWorkerProcess(channel)) return kWorkerDone;
  std::vector<unsigned char> greeting;
  if (!ReceiveWorkerMessage(channel, greeting, kLargestWorkerRequest)) return kWorkerDone;
  return ServeContentRequests(channel, greeting);
}

int ServeContentRequests(int channel, std::span<const unsigned char> packedGreeting) {
  WorkerGreeting greeting;
  if (!UnpackWorkerGreeting(packedGreeting, greeting)) return kWorkerFailed;
  InitialiseEncoders();
  SilenceLibraryMessages();
  BuildRegistry();
  if (greeting.libraryThreads > 0) LimitLibraryThreads(greeting.libraryThreads);
  const DrawingFont font = greeting.watermarkFont ? LoadWatermarkFont(greeting.plan.settings) : DrawingFont();
  const BatchPlan& plan = greeting.plan;
  const DrawingFont* fontOrNone = font.IsFont() ? &font : nullptr;
  return ServeWorkerRequests(channel, [&plan, fontOrNone](std::span<const unsigned char> request) {
    FileToConvert file;
    if (!UnpackContentRequest(request, file)) return std::vector<unsigned char>();  // no whole result: a crash
    return PackContentResult(ConvertImageContent(plan, file, fontOrNone));
  });
}

}  // namespace lumivane
