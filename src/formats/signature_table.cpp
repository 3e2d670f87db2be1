// The signature table and its matching over the first bytes of a file.
#include <array>
#include <cstdint>

#include "formats/signature.h"

namespace lumivane {
namespace {

// A run of bytes expected at a fixed offset from the start of the file.
struct ByteRun {
  std::size_t offset = 0;
  std::array<std::uint8_t, 16> bytes{};
  std::size_t size = 0;
  bool wellFormed = true;  // written as two-digit hex numbers separated by single spaces, at most 16
};

constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "89 50 4E 47" expected at the given offset.
consteval ByteRun BytesAt(std::size_t offset, std::string_view hex) {
  ByteRun run;
  run.offset = offset;
  for (std::size_t i = 0; i < hex.size(); i += 3) {
    const bool separated = i + 2 == hex.size() || (i + 2 < hex.size() && hex[i + 2] == ' ');
    if (i + 1 >= hex.size() || !separated || run.size == run.bytes.size()) {
      run.wellFormed = false;
      return run;
    }
    const int high = HexDigitValue(hex[i]);
    const int low = HexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) {
      run.wellFormed = false;
      return run;
    }
    run.bytes[run.size++] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return run;
}

consteval ByteRun Bytes(std::string_view hex) { return BytesAt(0, hex); }

// A result name and its pattern: the leading run at offset 0 and, for container formats, one more run further on.
struct SignatureEntry {
  std::string_view name;
  ByteRun head;
  ByteRun more{};  // size 0: none
};

// Entries sharing a first byte form a group; within a group the last matching entry wins, so an entry that refines
// an earlier one (CR2 within little-endian TIFF, RAR 5 within RAR) comes after it.
constexpr std::array<SignatureEntry, 79> kSignatures{{
    {"ICO", Bytes("00 00 01 00")},
    {"MPEG", Bytes("00 00 01 B3")},
    {"MPG/VOB", Bytes("00 00 01 BA")},
    {"MKV/MKA/WEBM", Bytes("1A 45 DF A3")},
    {"LUAC", Bytes("1B 4C 75 61")},
    {"GZ", Bytes("1F 8B")},
    {"PS", Bytes("25 21 50 53")},
    {"PDF", Bytes("25 50 44 46 2D")},
    {"ACE", Bytes("2A 2A 41 43 45 2A 2A")},
    {"XPM", Bytes("2F 2A 20 58 50 4D 20 2A 2F")},
    {"ASF/WMA/WMV", Bytes("30 26 B2 75 8E 66 CF 11 A6 D9 00 AA 00 62 CE 6C")},
    {"SRT", Bytes("31 0A 30 30")},
    {"7Z", Bytes("37 7A BC AF 27 1C")},
    {"PSD", Bytes("38 42 50 53")},
    {"FH8", Bytes("41 47 44 33")},
    {"DJVU", Bytes("41 54 26 54 46 4F 52 4D"), BytesAt(12, "44 4A 56")},
    {"BLEND", Bytes("42 4C 45 4E 44 45 52")},
    {"BMP", Bytes("42 4D")},
    {"BPG", Bytes("42 50 47 FB")},
    {"BZ2", Bytes("42 5A 68")},
    {"SWF", Bytes("43 57 53")},
    {"DRC", Bytes("44 52 41 43 4F")},
    {"FLIF", Bytes("46 4C 49 46")},
    {"SWF", Bytes("46 57 53")},
    {"FLV", Bytes("46 4C 56")},
    {"GIF87A", Bytes("47 49 46 38 37 61")},
    {"GIF89A", Bytes("47 49 46 38 39 61")},
    {"TIFF (LE)", Bytes("49 49 2A 00")},
    {"CR2", Bytes("49 49 2A 00 10 00 00 00 43 52")},
    {"CHM", Bytes("49 54 53 46 03 00 00 00 60 00 00 00")},
    {"MP3/ID3V2", Bytes("49 44 33")},
    {"CAB (IS)", Bytes("49 53 63 28")},
    {"LZ", Bytes("4C 5A 49 50")},
    {"MLV", Bytes("4D 4C 56 49")},
    {"TIFF (BE)", Bytes("4D 4D 00 2A")},
    {"CAB", Bytes("4D 53 43 46")},
    {"MID/MIDI", Bytes("4D 54 68 64")},
    {"EXE/DLL (MZ/PE/NE)", Bytes("4D 5A")},
    {"NUI", Bytes("4E 55 52 55 49 4D 47")},
    {"NUP", Bytes("4E 55 52 55 50 41 4C")},
    {"OGG/OGA/OGV", Bytes("4F 67 67 53")},
    {"PBM", Bytes("50 31 0A")},
    {"PGM", Bytes("50 32 0A")},
    {"PPM", Bytes("50 33 0A")},
    {"ZIP", Bytes("50 4B 03 04")},
    {"ZIP (E)", Bytes("50 4B 05 06")},
    {"ZIP (S)", Bytes("50 4B 07 08")},
    {"ANI", Bytes("52 49 46 46"), BytesAt(8, "41 43 4F 4E")},
    {"AVI", Bytes("52 49 46 46"), BytesAt(8, "41 56 49 20")},
    {"WAV", Bytes("52 49 46 46"), BytesAt(8, "57 41 56 45")},
    {"WEBP", Bytes("52 49 46 46"), BytesAt(8, "57 45 42 50")},
    {"RAR (1.5+)", Bytes("52 61 72 21 1A 07")},
    {"RAR (5.0+)", Bytes("52 61 72 21 1A 07 01 00")},
    {"DPX (BE)", Bytes("53 44 50 58")},
    {"SQLITE/DB", Bytes("53 51 4C 69 74 65 20 66 6F 72 6D 61 74 20 33 00")},
    {"DPX (LE)", Bytes("58 50 44 53")},
    {"EXE (ZM)", Bytes("5A 4D")},
    {"ARJ", Bytes("60 EA")},
    {"FLAC", Bytes("66 4C 61 43")},
    {"3GP", Bytes("66 74 79 70 33 67")},
    {"XCF", Bytes("67 69 6D 70 20 78 63 66")},
    {"TOX", Bytes("74 6F 78 33")},
    {"EXR", Bytes("76 2F 31 01")},
    {"XAR", Bytes("78 61 72 21")},
    {"RTF", Bytes("7B 5C 72 74 66 31")},
    {"CIN", Bytes("80 2A 5F D7")},
    {"PNG", Bytes("89 50 4E 47 0D 0A 1A 0A")},
    {"CLASS", Bytes("CA FE BA BE")},
    {"LEP", Bytes("CF 84 01")},
    {"DOC/XLS/PPT", Bytes("D0 CF 11 E0 A1 B1 1A E1")},
    {"WMF", Bytes("D7 CD C6 9A")},
    {"XZ", Bytes("FD 37 7A 58 5A 00")},
    {"JPG", Bytes("FF D8 FF DB")},
    {"JPEG/JFIF", Bytes("FF D8 FF E0 00 10 4A 46 49 46 00 01")},
    {"JPEG", Bytes("FF D8 FF EE")},
    {"JPEG/EXIF", Bytes("FF D8 FF E1"), BytesAt(6, "45 78 69 66")},
    {"MP3", Bytes("FF F2")},
    {"MP3", Bytes("FF F3")},
    {"MP3", Bytes("FF FB")},
}};

constexpr bool FitsWindow(const ByteRun& run) { return run.offset + run.size <= kSignatureWindowSize; }

constexpr bool EntriesAreWellFormed() {
  for (const SignatureEntry& entry : kSignatures) {
    if (entry.name.empty() || entry.head.offset != 0 || entry.head.size == 0) return false;
    if (!entry.head.wellFormed || !entry.more.wellFormed || !FitsWindow(entry.head) || !FitsWindow(entry.more)) {
      return false;
    }
  }
  return true;
}

// Groups are contiguous and ordered by their first byte.
constexpr bool GroupsAreContiguous() {
  for (std::size_t i = 1; i < kSignatures.size(); ++i) {
    if (kSignatures[i - 1].head.bytes[0] > kSignatures[i].head.bytes[0]) return false;
  }
  return true;
}

static_assert(kSignatures.size() == 79);
static_assert(EntriesAreWellFormed(), "hex runs well formed, leading run at offset 0, all within the window");
static_assert(GroupsAreContiguous());

// Only bytes the window holds are compared: a run past its end does not match.
bool RunMatches(const ByteRun& run, std::string_view window) {
  if (run.offset > window.size() || run.size > window.size() - run.offset) return false;
  for (std::size_t i = 0; i < run.size; ++i) {
    if (static_cast<std::uint8_t>(window[run.offset + i]) != run.bytes[i]) return false;
  }
  return true;
}

}  // namespace

std::string IdentifySignatureOfBytes(std::string_view firstBytes) {
  const std::string_view window = firstBytes.substr(0, kSignatureWindowSize);
  std::string_view result = kUnrecognizedSignature;
  if (window.empty()) return std::string(result);
  const auto firstByte = static_cast<std::uint8_t>(window[0]);
  for (const SignatureEntry& entry : kSignatures) {
    if (entry.head.bytes[0] != firstByte) continue;  // only the group of the first byte takes part
    if (RunMatches(entry.head, window) && RunMatches(entry.more, window)) result = entry.name;
  }
  return std::string(result);
}

}  // namespace lumivane
