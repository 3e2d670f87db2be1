// The unit test program. Started as a worker process (by the tests of worker processes and of the conversion
// pass, which start the running program), it serves as the shipped program does: content requests, or the test
// task of the worker process tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "batch/content_worker.h"
#include "platform/worker_channel.h"
#include "platform/worker_mode.h"
#include "support/misbehaving_worker.h"

namespace {

int ServeAsWorker(int channel) {
  if (!lumivane::PrepareWorkerProcess(channel)) return lumivane::kWorkerDone;
  std::vector<unsigned char> greeting;
  if (!lumivane::ReceiveWorkerMessage(channel, greeting, lumivane::kLargestWorkerRequest)) return lumivane::kWorkerDone;
  if (greeting == lumivane::testing::kMisbehavingGreeting) {
    return lumivane::ServeWorkerRequests(channel, lumivane::testing::MisbehavingWorkerTask);
  }
  return lumivane::ServeContentRequests(channel, greeting);
}

}  // namespace

int main(int argc, char** argv) {
  const int channel = lumivane::WorkerChannelFromParent();
  if (channel >= 0) ::_exit(ServeAsWorker(channel));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
