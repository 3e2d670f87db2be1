// The bytes that travel between the program and its worker processes: any bytes are either one whole packed
// result (or request) or refused, and a packed result reads back as what was packed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <span>
#include <vector>

#include "batch/content_request.h"
#include "batch/content_result.h"
#include "batch/job.h"
#include "fuzz_support.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

namespace {

bool SameFields(const FileConversion& a, const FileConversion& b) {
  return a.failure == b.failure && a.failureText == b.failureText && a.sourceBitDepth == b.sourceBitDepth &&
         a.outputBitDepth == b.outputBitDepth && a.imageWidth == b.imageWidth && a.imageHeight == b.imageHeight &&
         a.frameNumber == b.frameNumber;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Any bytes, as a crashed or confused worker might leave them.
  const std::span<const unsigned char> bytes(data, size);
  FileConversion file;
  file.inputFile = "kept.cr2";
  std::vector<unsigned char> encoded;
  if (const std::optional<bool> ok = UnpackContentResult(bytes, file, encoded)) {
    Require(file.inputFile == "kept.cr2", "only the result's fields are written");
    const std::vector<unsigned char> repacked = PackContentResult(*ok, file, encoded);
    Require(repacked.size() == size, "an accepted result is exactly one packed result");
    FileConversion again;
    std::vector<unsigned char> encodedAgain;
    Require(UnpackContentResult(repacked, again, encodedAgain) == ok && SameFields(again, file) &&
                encodedAgain == encoded,
            "a repacked result reads back the same");
  } else {
    Require(file.inputFile == "kept.cr2" && file.failureText.empty() && encoded.empty(), "a refusal changes nothing");
  }

  // The same bytes as a request: taken whole, then packed again to the same bytes, or refused.
  JobRecord job;
  FileConversion requested;
  requested.inputFile = "kept.cr2";
  if (UnpackContentRequest(bytes, job, requested)) {
    Require(PackContentRequest(job, requested) == std::vector<unsigned char>(bytes.begin(), bytes.end()),
            "an accepted request is exactly one packed request");
  } else {
    Require(requested.inputFile == "kept.cr2" && job.fileCounter == 0, "a refused request changes nothing");
  }

  // Fields made from the bytes, packed and read back.
  FuzzedDataProvider input(data, size);
  FileConversion packedFile;
  const bool ok = input.ConsumeBool();
  packedFile.failure = static_cast<ConversionFailure>(input.ConsumeIntegral<std::int8_t>());
  packedFile.sourceBitDepth = input.ConsumeIntegral<std::int32_t>();
  packedFile.outputBitDepth = input.ConsumeIntegral<std::int32_t>();
  packedFile.imageWidth = input.ConsumeIntegral<std::int32_t>();
  packedFile.imageHeight = input.ConsumeIntegral<std::int32_t>();
  packedFile.frameNumber = input.ConsumeIntegral<std::int32_t>();
  packedFile.failureText = input.ConsumeRandomLengthString(256);
  const std::vector<unsigned char> output = input.ConsumeRemainingBytes<unsigned char>();
  const std::vector<unsigned char> packed = PackContentResult(ok, packedFile, output);
  FileConversion unpacked;
  std::vector<unsigned char> unpackedOutput;
  Require(UnpackContentResult(packed, unpacked, unpackedOutput) == ok && SameFields(unpacked, packedFile) &&
              unpackedOutput == output,
          "a packed result reads back as packed");
  if (!packed.empty()) {
    const std::span<const unsigned char> cut(packed.data(), packed.size() - 1);
    FileConversion untouched;
    std::vector<unsigned char> none;
    Require(!UnpackContentResult(cut, untouched, none), "a cut result is refused");
  }
  return 0;
}
