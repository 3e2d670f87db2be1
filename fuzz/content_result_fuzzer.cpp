// The bytes that travel between the program and its worker processes: any bytes are either one whole packed
// result (or request, or greeting) or refused, and a packed result reads back as what was packed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <span>
#include <vector>

#include "batch/content_request.h"
#include "batch/content_result.h"
#include "batch/worker_greeting.h"
#include "fuzz_support.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

bool SameFields(const ConvertedFile& a, const ConvertedFile& b) {
  return a.failure == b.failure && a.detail == b.detail && a.sourceBitDepth == b.sourceBitDepth &&
         a.outputBitDepth == b.outputBitDepth && a.imageWidth == b.imageWidth && a.imageHeight == b.imageHeight &&
         a.frameNumber == b.frameNumber && a.encoded == b.encoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Any bytes, as a crashed or confused worker might leave them.
  const std::span<const unsigned char> bytes(data, size);
  ConvertedFile converted;
  converted.detail = "kept";
  if (UnpackContentResult(bytes, converted)) {
    const std::vector<unsigned char> repacked = PackContentResult(converted);
    Require(repacked.size() == size, "an accepted result is exactly one packed result");
    ConvertedFile again;
    Require(UnpackContentResult(repacked, again) && SameFields(again, converted),
            "a repacked result reads back the same");
  } else {
    Require(converted.detail == "kept" && converted.encoded.empty(), "a refusal changes nothing");
  }

  // The same bytes as a request: taken whole, then packed again to the same bytes, or refused.
  FileToConvert requested;
  requested.inputFile = "kept.cr2";
  if (UnpackContentRequest(bytes, requested)) {
    Require(PackContentRequest(requested) == std::vector<unsigned char>(bytes.begin(), bytes.end()),
            "an accepted request is exactly one packed request");
  } else {
    Require(requested.inputFile == "kept.cr2" && requested.numbering.fileCounter == 1,
            "a refused request changes nothing");
  }

  // The same bytes as a worker's greeting: refused without a change, or a plan that packs the same way twice.
  WorkerGreeting greeting;
  greeting.plan.outputFormat = "kept";
  if (UnpackWorkerGreeting(bytes, greeting)) {
    const std::vector<unsigned char> packedGreeting = PackWorkerGreeting(greeting);
    WorkerGreeting again;
    Require(UnpackWorkerGreeting(packedGreeting, again) && PackWorkerGreeting(again) == packedGreeting,
            "an accepted greeting reads back as packed");
  } else {
    Require(greeting.plan.outputFormat == "kept", "a refused greeting changes nothing");
  }

  // Fields made from the bytes, packed and read back.
  FuzzedDataProvider input(data, size);
  ConvertedFile packedFile;
  packedFile.failure = static_cast<ConversionFailure>(input.ConsumeIntegral<std::int8_t>());
  packedFile.sourceBitDepth = input.ConsumeIntegral<std::int32_t>();
  packedFile.outputBitDepth = input.ConsumeIntegral<std::int32_t>();
  packedFile.imageWidth = input.ConsumeIntegral<std::int32_t>();
  packedFile.imageHeight = input.ConsumeIntegral<std::int32_t>();
  packedFile.frameNumber = input.ConsumeIntegral<std::int32_t>();
  packedFile.detail = input.ConsumeRandomLengthString(256);
  packedFile.encoded = input.ConsumeRemainingBytes<unsigned char>();
  const std::vector<unsigned char> packed = PackContentResult(packedFile);
  ConvertedFile unpacked;
  Require(UnpackContentResult(packed, unpacked) && SameFields(unpacked, packedFile),
          "a packed result reads back as packed");
  if (!packed.empty()) {
    const std::span<const unsigned char> cut(packed.data(), packed.size() - 1);
    ConvertedFile untouched;
    Require(!UnpackContentResult(cut, untouched), "a cut result is refused");
  }
  return 0;
}
