#pragma once
// The channel between the main process and one worker process: a Unix stream socket on which each message is an
// 8-byte size followed by that many bytes, so that a message cut short (a worker that died while it answered) is
// told apart from a whole one by its length.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumivane {

// The descriptor number a worker process finds its channel on; it has no other descriptors but 0, 1 and 2.
inline constexpr int kWorkerChannelDescriptor = 3;

// Largest message the main process sends (the batch plan, a file's request); a larger one is refused.
inline constexpr std::size_t kLargestWorkerRequest = std::size_t{16} << 20;
// Largest answer the main process accepts (an encoded output file); a size above it is a confused worker.
inline constexpr std::uint64_t kLargestWorkerResult = std::uint64_t{1} << 36;

using WorkerMessageSize = std::uint64_t;

// Blocking transfers that go on after interruptions and short transfers, and never raise SIGPIPE. False when the
// other end has gone, or a received size is above `largest` (nothing is read beyond the size then).
bool SendWorkerMessage(int channel, std::span<const unsigned char> message);
bool ReceiveWorkerMessage(int channel, std::vector<unsigned char>& message, std::uint64_t largest);

}  // namespace lumivane
