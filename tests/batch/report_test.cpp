#include "batch/report.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <string>
#include <vector>

#include "support/jq.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

struct StringCase {
  const char* name;
  std::string bytes;
  std::string literal;  // what JsonString writes
  std::string decoded;  // what a JSON reader gets back
};

const StringCase kStringCases[] = {
    {"Plain", "/photos/IMG_0001.CR2", "\"/photos/IMG_0001.CR2\"", "/photos/IMG_0001.CR2"},
    {"Empty", "", "\"\"", ""},
    {"QuoteAndBackslash", "a\"b\\c", "\"a\\\"b\\\\c\"", "a\"b\\c"},
    {"NamedControls", "\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\"", "\b\f\n\r\t"},
    {"OtherControls", std::string("\x00\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\\u007f\"",
     std::string("\x00\x01\x1f\x7f", 4)},
    {"Utf8Kept", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"",
     "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
    {"SlashNotEscaped", "a/b", "\"a/b\"", "a/b"},
    {"InvalidByte", "a\xFFz", "\"a\\ufffdz\"", "a" + kReplacement + "z"},
    {"TruncatedSequence", "\xE2\x82", "\"\\ufffd\\ufffd\"", kReplacement + kReplacement},
    {"Surrogate", "\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\"", kReplacement + kReplacement + kReplacement},
    {"Overlong", "\xC0\xAF", "\"\\ufffd\\ufffd\"", kReplacement + kReplacement},
};

TEST(JsonString, EscapesEveryByteSequence) {
  for (const StringCase& c : kStringCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JsonString(c.bytes), c.literal);
  }
}

TEST(JsonString, AJsonReaderGetsTheTextBack) {
  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  TempDir dir;
  for (const StringCase& c : kStringCases) {
    SCOPED_TRACE(c.name);
    if (c.decoded.find('\0') != std::string::npos) continue;  // jq cannot print a NUL back
    const std::string file = dir.WriteFile("s.json", JsonString(c.bytes));
    EXPECT_EQ(RunJq(".", file), c.decoded);
  }
}

TEST(HexBytes, TwoLowerCaseDigitsPerByte) {
  EXPECT_EQ(HexBytes(std::string("\x00\x0f\xff/a", 5)), "000fff2f61");
  EXPECT_EQ(HexBytes(""), "");
}

TEST(FailureReasonCode, OneCodePerFailure) {
  const struct {
    ConversionFailure failure;
    const char* code;
  } rows[] = {
      {ConversionFailure::kNone, ""},
      {ConversionFailure::kUnreadable, "unreadable"},
      {ConversionFailure::kUndecodable, "undecodable"},
      {ConversionFailure::kEditFailed, "edit_failed"},
      {ConversionFailure::kEncodeFailed, "encode_failed"},
      {ConversionFailure::kWriteFailed, "write_failed"},
      {ConversionFailure::kWouldReplaceInput, "would_replace_input"},
  };
  for (const auto& row : rows) EXPECT_EQ(FailureReasonCode(row.failure), row.code);
}

TEST(FileReportLine, ConvertedAndFailedFiles) {
  FileReport ok;
  ok.index = 1;
  ok.input = "/in/a.dng";
  ok.output = "/out/a.jpg";
  ok.converted = true;
  ok.width = 640;
  ok.height = 480;
  ok.bitDepth = 24;
  ok.milliseconds = 1234;
  EXPECT_EQ(FileReportLine(ok),
            "{\"type\":\"file\",\"index\":1,\"input\":\"/in/a.dng\",\"output\":\"/out/a.jpg\",\"converted\":true,"
            "\"reason\":null,\"detail\":null,\"width\":640,\"height\":480,\"bit_depth\":24,\"milliseconds\":1234}");

  FileReport failed;
  failed.index = 2;
  failed.input = "/in/b.dng";
  failed.output = "/out/b.jpg";  // named, but not written: a failed file has no output
  failed.failure = ConversionFailure::kWriteFailed;
  failed.detail = "No space left on device";
  EXPECT_EQ(FileReportLine(failed),
            "{\"type\":\"file\",\"index\":2,\"input\":\"/in/b.dng\",\"output\":null,\"converted\":false,"
            "\"reason\":\"write_failed\",\"detail\":\"No space left on device\",\"width\":0,\"height\":0,"
            "\"bit_depth\":0,\"milliseconds\":0}");

  FileReport reasonless;  // a failure whose cause nobody recorded still says it failed
  reasonless.input = "/in/c.dng";
  EXPECT_NE(FileReportLine(reasonless).find("\"reason\":\"unknown\""), std::string::npos);
}

TEST(FileReportLine, PathsThatAreNotUtf8KeepTheirBytes) {
  FileReport file;
  file.input = "/in/\xFF.dng";
  file.output = "/out/\xFF.jpg";
  file.converted = true;
  const std::string line = FileReportLine(file);
  EXPECT_NE(line.find("\"input\":\"/in/\\ufffd.dng\",\"input_hex\":\"2f696e2fff2e646e67\""), std::string::npos);
  EXPECT_NE(line.find("\"output_hex\":\"2f6f75742fff2e6a7067\""), std::string::npos);
  EXPECT_EQ(FileReportLine(FileReport{}).find("_hex"), std::string::npos);
}

TEST(SummaryReportLine, CountsAndTime) {
  EXPECT_EQ(SummaryReportLine({10, 8, 2, 4, 5000, 1, 5, true, true}),
            "{\"type\":\"summary\",\"files\":10,\"converted\":8,\"failed\":2,\"skipped\":1,\"jobs\":4,"
            "\"milliseconds\":5000,\"workers_started\":5,\"in_process\":true,\"interrupted\":true}");
}

TEST(ReportWriter, WritesWholeLinesThatParseOneByOne) {
  TempDir dir;
  const std::string path = dir / "report.jsonl";
  ReportWriter writer;
  ASSERT_TRUE(writer.Open(path));
  FileReport first;
  first.index = 1;
  first.input = "/in/line\nbreak \"quoted\".dng";
  first.failure = ConversionFailure::kUndecodable;
  ASSERT_TRUE(writer.WriteLine(FileReportLine(first)));
  // Written straight through: a reader sees the line before the batch goes on.
  EXPECT_EQ(ReadFileBytes(path), FileReportLine(first) + "\n");
  FileReport second;
  second.index = 2;
  second.input = "/in/\x01\xFE.dng";
  second.failure = ConversionFailure::kWouldReplaceInput;
  ASSERT_TRUE(writer.WriteLine(FileReportLine(second)));
  ASSERT_TRUE(writer.WriteLine(SummaryReportLine({2, 0, 2, 1, 10})));
  EXPECT_TRUE(writer.Close());

  if (!HaveJq()) GTEST_SKIP() << "jq is not installed";
  EXPECT_EQ(RunJq(R"(.type + " " + (.reason // "-") + "|")", path),
            "file undecodable|file would_replace_input|summary -|");
  EXPECT_EQ(RunJq(R"(select(.index == 1) | .input)", path), "/in/line\nbreak \"quoted\".dng");
}

TEST(ReportWriter, OpenReplacesAnOlderReportAndRefusesAMissingFolder) {
  TempDir dir;
  const std::string path = dir.WriteFile("r.jsonl", "old contents that are longer\n");
  ReportWriter writer;
  ASSERT_TRUE(writer.Open(path));
  ASSERT_TRUE(writer.WriteLine("{}"));
  writer.Close();
  EXPECT_EQ(ReadFileBytes(path), "{}\n");
  EXPECT_FALSE(writer.Open(dir / "missing/r.jsonl"));
  EXPECT_FALSE(writer.WriteLine("{}"));
}

TEST(ReportWriter, AFullDiskLeavesOnlyWholeLines) {
  // A file-size limit of 100 bytes stands in for a full disk: the fourth line of 30 bytes is cut off part way.
  TempDir dir;
  const std::string path = dir / "report.jsonl";
  const std::string line(29, 'x');
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ReportWriter writer;
    int code = writer.Open(path) ? 0 : 10;
    for (int n = 0; n < 3 && code == 0; ++n) code = writer.WriteLine(line) ? 0 : 20 + n;
    if (code == 0 && writer.WriteLine(line)) code = 30;  // must fail
    if (code == 0 && !writer.WriteLine("{}")) code = 40;  // 90 + 3 bytes fit again
    ::_exit(code == 0 && !writer.Close() ? 0 : code + 1);  // closed, but the report is not complete
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFileBytes(path), line + "\n" + line + "\n" + line + "\n{}\n");
}

}  // namespace
}  // namespace lumivane::testing
