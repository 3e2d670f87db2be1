#pragma once
// Naming a file's type from its first bytes, independently of its extension and of any decoder.
#include <cstddef>
#include <string>
#include <string_view>

namespace lumivane {

inline constexpr std::string_view kUnrecognizedSignature = "[ERROR] UNRECOGNIZED";
// Only this many leading bytes of a file are ever read or compared.
inline constexpr std::size_t kSignatureWindowSize = 20;

// Opens the file read-only, reads at most its first kSignatureWindowSize bytes and names its type, for example
// "PNG", "CR2" or "TIFF (BE)". A missing, unreadable or empty file, a folder or anything else that is not a
// regular file gives kUnrecognizedSignature. Changes nothing and never blocks on special files.
std::string IdentifySignature(const std::string& path);

// Names the type of data that begins with these bytes (bytes past the window are ignored). A pattern that
// reaches past the end of short data does not match.
std::string IdentifySignatureOfBytes(std::string_view firstBytes);

}  // namespace lumivane
