#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "formats/signature.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

constexpr const char* kUnrecognized = "[ERROR] UNRECOGNIZED";

// "89 50 4E 47" -> the four bytes.
std::string Bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string bytes;
  for (std::string pair; in >> pair;) bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  return bytes;
}

struct SignatureCase {
  const char* bytes;        // the shortest data that carries the signature; EE bytes are filler
  const char* name;         // its result
  const char* withoutLast;  // the result when the last byte is missing
};

const std::vector<SignatureCase> kSignatureCases = {
    {"00 00 01 00", "ICO", kUnrecognized},
    {"00 00 01 B3", "MPEG", kUnrecognized},
    {"00 00 01 BA", "MPG/VOB", kUnrecognized},
    {"1A 45 DF A3", "MKV/MKA/WEBM", kUnrecognized},
    {"1B 4C 75 61", "LUAC", kUnrecognized},
    {"1F 8B", "GZ", kUnrecognized},
    {"25 21 50 53", "PS", kUnrecognized},
    {"25 50 44 46 2D", "PDF", kUnrecognized},
    {"2A 2A 41 43 45 2A 2A", "ACE", kUnrecognized},
    {"2F 2A 20 58 50 4D 20 2A 2F", "XPM", kUnrecognized},
    {"30 26 B2 75 8E 66 CF 11 A6 D9 00 AA 00 62 CE 6C", "ASF/WMA/WMV", kUnrecognized},
    {"31 0A 30 30", "SRT", kUnrecognized},
    {"37 7A BC AF 27 1C", "7Z", kUnrecognized},
    {"38 42 50 53", "PSD", kUnrecognized},
    {"41 47 44 33", "FH8", kUnrecognized},
    {"41 54 26 54 46 4F 52 4D EE EE EE EE 44 4A 56", "DJVU", kUnrecognized},
    {"42 4C 45 4E 44 45 52", "BLEND", kUnrecognized},
    {"42 4D", "BMP", kUnrecognized},
    {"42 50 47 FB", "BPG", kUnrecognized},
    {"42 5A 68", "BZ2", kUnrecognized},
    {"43 57 53", "SWF", kUnrecognized},
    {"44 52 41 43 4F", "DRC", kUnrecognized},
    {"46 4C 49 46", "FLIF", kUnrecognized},
    {"46 57 53", "SWF", kUnrecognized},
    {"46 4C 56", "FLV", kUnrecognized},
    {"47 49 46 38 37 61", "GIF87A", kUnrecognized},
    {"47 49 46 38 39 61", "GIF89A", kUnrecognized},
    {"49 49 2A 00", "TIFF (LE)", kUnrecognized},
    {"49 49 2A 00 10 00 00 00 43 52", "CR2", "TIFF (LE)"},
    {"49 54 53 46 03 00 00 00 60 00 00 00", "CHM", kUnrecognized},
    {"49 44 33", "MP3/ID3V2", kUnrecognized},
    {"49 53 63 28", "CAB (IS)", kUnrecognized},
    {"4C 5A 49 50", "LZ", kUnrecognized},
    {"4D 4C 56 49", "MLV", kUnrecognized},
    {"4D 4D 00 2A", "TIFF (BE)", kUnrecognized},
    {"4D 53 43 46", "CAB", kUnrecognized},
    {"4D 54 68 64", "MID/MIDI", kUnrecognized},
    {"4D 5A", "EXE/DLL (MZ/PE/NE)", kUnrecognized},
    {"4E 55 52 55 49 4D 47", "NUI", kUnrecognized},
    {"4E 55 52 55 50 41 4C", "NUP", kUnrecognized},
    {"4F 67 67 53", "OGG/OGA/OGV", kUnrecognized},
    {"50 31 0A", "PBM", kUnrecognized},
    {"50 32 0A", "PGM", kUnrecognized},
    {"50 33 0A", "PPM", kUnrecognized},
    {"50 4B 03 04", "ZIP", kUnrecognized},
    {"50 4B 05 06", "ZIP (E)", kUnrecognized},
    {"50 4B 07 08", "ZIP (S)", kUnrecognized},
    {"52 49 46 46 EE EE EE EE 41 43 4F 4E", "ANI", kUnrecognized},
    {"52 49 46 46 EE EE EE EE 41 56 49 20", "AVI", kUnrecognized},
    {"52 49 46 46 EE EE EE EE 57 41 56 45", "WAV", kUnrecognized},
    {"52 49 46 46 EE EE EE EE 57 45 42 50", "WEBP", kUnrecognized},
    {"52 61 72 21 1A 07", "RAR (1.5+)", kUnrecognized},
    {"52 61 72 21 1A 07 01 00", "RAR (5.0+)", "RAR (1.5+)"},
    {"53 44 50 58", "DPX (BE)", kUnrecognized},
    {"53 51 4C 69 74 65 20 66 6F 72 6D 61 74 20 33 00", "SQLITE/DB", kUnrecognized},
    {"58 50 44 53", "DPX (LE)", kUnrecognized},
    {"5A 4D", "EXE (ZM)", kUnrecognized},
    {"60 EA", "ARJ", kUnrecognized},
    {"66 4C 61 43", "FLAC", kUnrecognized},
    {"66 74 79 70 33 67", "3GP", kUnrecognized},
    {"67 69 6D 70 20 78 63 66", "XCF", kUnrecognized},
    {"74 6F 78 33", "TOX", kUnrecognized},
    {"76 2F 31 01", "EXR", kUnrecognized},
    {"78 61 72 21", "XAR", kUnrecognized},
    {"7B 5C 72 74 66 31", "RTF", kUnrecognized},
    {"80 2A 5F D7", "CIN", kUnrecognized},
    {"89 50 4E 47 0D 0A 1A 0A", "PNG", kUnrecognized},
    {"CA FE BA BE", "CLASS", kUnrecognized},
    {"CF 84 01", "LEP", kUnrecognized},
    {"D0 CF 11 E0 A1 B1 1A E1", "DOC/XLS/PPT", kUnrecognized},
    {"D7 CD C6 9A", "WMF", kUnrecognized},
    {"FD 37 7A 58 5A 00", "XZ", kUnrecognized},
    {"FF D8 FF DB", "JPG", kUnrecognized},
    {"FF D8 FF E0 00 10 4A 46 49 46 00 01", "JPEG/JFIF", kUnrecognized},
    {"FF D8 FF EE", "JPEG", kUnrecognized},
    {"FF D8 FF E1 EE EE 45 78 69 66", "JPEG/EXIF", kUnrecognized},
    {"FF F2", "MP3", kUnrecognized},
    {"FF F3", "MP3", kUnrecognized},
    {"FF FB", "MP3", kUnrecognized},
};

TEST(SignatureTable, CoversEverySignature) { EXPECT_EQ(kSignatureCases.size(), 79u); }

TEST(SignatureTable, ExactSignatureIsNamed) {
  for (const SignatureCase& c : kSignatureCases) {
    EXPECT_EQ(IdentifySignatureOfBytes(Bytes(c.bytes)), c.name) << c.bytes;
  }
}

TEST(SignatureTable, BytesAfterTheSignatureDoNotMatter) {
  for (const SignatureCase& c : kSignatureCases) {
    EXPECT_EQ(IdentifySignatureOfBytes(Bytes(c.bytes) + std::string(40, '\xEE')), c.name) << c.bytes;
  }
}

// Data that ends inside a pattern never matches it, and nothing past the data is looked at.
TEST(SignatureTable, PatternPastTheEndDoesNotMatch) {
  for (const SignatureCase& c : kSignatureCases) {
    const std::string bytes = Bytes(c.bytes);
    EXPECT_EQ(IdentifySignatureOfBytes(bytes.substr(0, bytes.size() - 1)), c.withoutLast) << c.bytes;
  }
}

TEST(SignatureTable, NearMissesAreUnrecognized) {
  const char* cases[] = {
      "89 50 4E 47 00 00 00 00",                 // PNG start with other bytes
      "FF D8 FF E0 00 10 4A 46 49 46 00 02",     // fourth byte E0 without the exact JFIF header
      "FF D8 FF E1 EE EE 45 78 69 67",           // EXIF tag misspelt
      "52 49 46 46 EE EE EE EE 41 42 43 44",     // RIFF with an unknown form type
      "52 49 46 46 EE EE EE EE 57 41 56",        // RIFF cut inside the form type
      "41 54 26 54 46 4F 52 4D EE EE EE EE 44 4A 57",  // DJVU form with the wrong subtype
      "49 49 2B 00",                             // BigTIFF is not in the table
      "02 03 04 05",                             // a first byte without a group
      "FF",                                      // a single byte
      "00",
  };
  for (const char* bytes : cases) {
    EXPECT_EQ(IdentifySignatureOfBytes(Bytes(bytes)), kUnrecognized) << bytes;
  }
}

TEST(SignatureFiles, NamesFilesByContent) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    const char* expected;
  };
  const Case cases[] = {
      {"photo.nef", Bytes("89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 00 00 00 01 00 00"), "PNG"},
      {"noextension", Bytes("49 49 2A 00 10 00 00 00 43 52 02 00"), "CR2"},
      {"image.tif", Bytes("4D 4D 00 2A 00 00 00 08"), "TIFF (BE)"},
      {"tiny.flv", "FLV", "FLV"},
      {"two.gz", Bytes("1F 8B"), "GZ"},
      {"song.mp3", Bytes("FF FB 90 64"), "MP3"},
      {"start.png", Bytes("89 50 4E 47 01 02 03"), kUnrecognized},
      {"cut.djvu", Bytes("41 54 26 54 46 4F 52 4D EE EE EE EE 44 4A"), kUnrecognized},
      {"empty.cr2", "", kUnrecognized},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IdentifySignature(dir.WriteFile(c.name, c.bytes)), c.expected) << c.name;
  }
}

TEST(SignatureFiles, AnythingThatCannotBeReadIsUnrecognized) {
  TempDir dir;
  const std::string file = dir.WriteFile("real.png", Bytes("89 50 4E 47 0D 0A 1A 0A"));
  ASSERT_EQ(IdentifySignature(file), "PNG");
  std::filesystem::create_directory(dir / "folder.png");
  const std::string fifo = dir / "pipe.png";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opening it for reading must not wait for a writer
  const std::string cases[] = {
      dir / "missing.png",
      dir / "folder.png",
      file + "/child",  // a path that runs through a file
      fifo,
      "",
      file + std::string(1, '\0') + "ignored",  // a name cut short by a NUL would name another file
  };
  for (const std::string& path : cases) {
    EXPECT_EQ(IdentifySignature(path), kUnrecognized) << path;
  }
}

TEST(SignatureFiles, UnreadableFileIsUnrecognized) {
  TempDir dir;
  const std::string file = dir.WriteFile("locked.png", Bytes("89 50 4E 47 0D 0A 1A 0A"));
  ASSERT_EQ(chmod(file.c_str(), 0), 0);
  if (access(file.c_str(), R_OK) == 0) GTEST_SKIP() << "file permissions do not restrict this user (root)";
  EXPECT_EQ(IdentifySignature(file), kUnrecognized);
}

TEST(SignatureFiles, RealCameraFiles) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "no shared sample folder beside the project";
  struct Case {
    const char* file;
    const char* expected;
  };
  const Case cases[] = {
      {"odd/truncated.cr2", "CR2"},
      {"odd/jpeg-data-named.nef", "JPEG/JFIF"},
      {"odd/pixels-stripped.dng", "TIFF (BE)"},
      {"camera/Canon_EOS-Kiss-X4-MagicLantern_colorchart.dng", "TIFF (LE)"},
      {"camera/Kodak_DC120_P003908.KDC", "TIFF (BE)"},
      {"camera/Canon_PowerShot-G2_CRW_0304.CRW", kUnrecognized},  // CIFF, not in the table
      {"camera/Apple_QuickTake100_TEST100.QTK", kUnrecognized},
  };
  for (const Case& c : cases) {
    const std::string path = samples + "/" + c.file;
    if (!std::filesystem::exists(path)) {
      ADD_FAILURE() << "sample missing: " << c.file;
      continue;
    }
    EXPECT_EQ(IdentifySignature(path), c.expected) << c.file;
  }
}

}  // namespace
}  // namespace lumivane::testing
