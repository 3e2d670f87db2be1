#include "batch/content_request.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace lumivane {
namespace {

// Fixed-size head of a packed request; the input path and the relative subfolder follow it. Both ends are the
// same program on the same machine, so the layout is the compiler's.
struct Head {
  std::uint32_t marker;
  std::int32_t randomNumber;
  std::int32_t fileCounter;
  std::int32_t previousOutputBitDepth;
  std::uint64_t inputFileSize;
  std::uint64_t relativeSubfolderSize;
};

constexpr std::uint32_t kMarker = 0x4C564651;  // "LVFQ"

}  // namespace

std::vector<unsigned char> PackContentRequest(const FileToConvert& file) {
  Head head{};
  head.marker = kMarker;
  head.randomNumber = file.numbering.randomNumber;
  head.fileCounter = file.numbering.fileCounter;
  head.previousOutputBitDepth = file.numbering.previousOutputBitDepth;
  head.inputFileSize = file.inputFile.size();
  head.relativeSubfolderSize = file.relativeSubfolder.size();
  std::vector<unsigned char> packed(sizeof head + file.inputFile.size() + file.relativeSubfolder.size());
  std::memcpy(packed.data(), &head, sizeof head);
  std::memcpy(packed.data() + sizeof head, file.inputFile.data(), file.inputFile.size());
  std::memcpy(packed.data() + sizeof head + file.inputFile.size(), file.relativeSubfolder.data(),
              file.relativeSubfolder.size());
  return packed;
}

bool UnpackContentRequest(std::span<const unsigned char> packed, FileToConvert& file) {
  Head head{};
  if (packed.size() < sizeof head) return false;
  std::memcpy(&head, packed.data(), sizeof head);
  const std::uint64_t rest = packed.size() - sizeof head;
  if (head.marker != kMarker || head.inputFileSize > rest || head.relativeSubfolderSize != rest - head.inputFileSize) {
    return false;
  }
  const auto* text = reinterpret_cast<const char*>(packed.data() + sizeof head);
  file = FileToConvert{};
  file.numbering = {head.fileCounter, head.randomNumber, head.previousOutputBitDepth};
  file.inputFile.assign(text, static_cast<std::size_t>(head.inputFileSize));
  file.relativeSubfolder.assign(text + head.inputFileSize, static_cast<std::size_t>(head.relativeSubfolderSize));
  return true;
}

}  // namespace lumivane
