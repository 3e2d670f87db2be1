// Naming a file's type from its first bytes, in memory and from a file.
#include <cstdint>
#include <string>

#include "formats/signature.h"
#include "fuzz_support.h"

using namespace lumivane;
using lumivane::fuzzing::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzzing::AsText(data, size);
  const std::string name = IdentifySignatureOfBytes(bytes);
  Require(!name.empty(), "every window has a name");
  Require(IdentifySignatureOfBytes(bytes.substr(0, kSignatureWindowSize)) == name, "only the window counts");
  if (bytes.empty()) Require(name == kUnrecognizedSignature, "no bytes, no type");
  const std::string path = fuzzing::WriteScratchFile("signature.bin", bytes);
  Require(IdentifySignature(path) == name, "a file is named as its bytes are");
  return 0;
}
