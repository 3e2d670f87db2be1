// The command line as a user or a script meets it: exact console lines and exit codes.
#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

const char* const kIncorrect = "Error: Incorrect number of parameters";
const char* const kNoInputHint = "No input given. Run lumivanecmd --help for usage.";

struct LinesCase {
  std::vector<std::string> arguments;
  std::vector<std::string> lines;
  int exitCode;
};

TEST(CommandLine, PrintsExactlyTheseLinesAndExitsWithThisCode) {
  const LinesCase cases[] = {
      {{"-v"}, {"3.0"}, 0},
      {{"-V"}, {"3.0"}, 0},
      {{"--VERSION"}, {"3.0"}, 0},
      {{"--Version=x"}, {"3.0"}, 0},
      {{"-i"}, {kIncorrect}, 2},
      {{"-i", "-x"}, {kIncorrect}, 2},
      {{"--input"}, {kIncorrect}, 2},
      {{"--input="}, {kIncorrect}, 2},
      {{"-o", "out", "--jpg-quality"}, {kIncorrect}, 2},
      {{"-i", "x", "--brightness=--20"}, {kIncorrect}, 2},
      {{"-q", "-i"}, {kIncorrect}, 2},  // error lines are printed in quiet mode too
      {{"-i", "x", "--profile=/nonexistent/p.ini", "-q"}, {"Error: Invalid profile file"}, 2},
      {{"--profile="}, {kIncorrect}, 2},
      {{}, {kNoInputHint}, 2},
      {{"-q"}, {kNoInputHint}, 2},
      {{"photo.raw"}, {kNoInputHint}, 2},
      {{"-u"}, {kNoInputHint}, 2},
      {{"-t", "somewhere"}, {kNoInputHint}, 2},
      {{"-c", "jpg", "--width=10"}, {kNoInputHint}, 2},
  };
  for (const LinesCase& c : cases) {
    std::string label;
    for (const std::string& a : c.arguments) label += "[" + a + "] ";
    const ProgramResult result = RunProgramWith(c.arguments);
    EXPECT_EQ(result.lines, c.lines) << label;
    EXPECT_EQ(result.exitCode, c.exitCode) << label;
    EXPECT_EQ(result.errorOutput, "") << label;
    EXPECT_EQ(result.output.find('\n') == std::string::npos || result.output.ends_with("\r\n"), true) << label;
  }
}

TEST(CommandLine, VersionIsOnlyAFirstParameterCommand) {
  const ProgramResult result = RunProgramWith({"-i", "x", "-v"});
  ASSERT_FALSE(result.lines.empty());
  EXPECT_EQ(result.lines.front(), "Lumivane 3.0");
  for (const std::string& line : result.lines) EXPECT_NE(line, "3.0");
}

TEST(CommandLine, RunEndingPrintsTheBannerUnlessQuiet) {
  const ProgramResult loud = RunProgramWith({"-i", "/nonexistent-folder/"});
  ASSERT_GE(loud.lines.size(), 4u);
  EXPECT_EQ(loud.lines[0], "Lumivane 3.0");
  EXPECT_EQ(loud.lines[1], "(c) 2026 Tarnwick");
  EXPECT_EQ(loud.lines[2].rfind("https://", 0), 0u);
  EXPECT_EQ(loud.lines[3], " ");
  const ProgramResult quiet = RunProgramWith({"-q", "-i", "/nonexistent-folder/"});
  for (const std::string& line : quiet.lines) {
    EXPECT_NE(line, "Lumivane 3.0");
    EXPECT_NE(line, "(c) 2026 Tarnwick");
  }
}

TEST(CommandLine, HelpIsThirtyEightLinesByteForByte) {
  const std::string expected =
      " \r\n"
      "Usage: lumivanecmd -i <filename> [options]\r\n"
      " \r\n"
      "  lumivanecmd -i example.raw\r\n"
      "  lumivanecmd -i c:\\tmp\\example.raw\r\n"
      "  lumivanecmd -i c:\\tmp\\example.raw -o d:\\converted\r\n"
      "  lumivanecmd -i c:\\tmp\\filelist.txt\r\n"
      "  lumivanecmd -i c:\\tmp\\ -o d:\\converted --jpg-quality=95\r\n"
      "  lumivanecmd -i c:\\tmp\\ -o d:\\converted -c bmp --jpg-quality=95\r\n"
      " \r\n"
      "Options:\r\n"
      " \r\n"
      "  -h, -?, --help            Display this help and exit\r\n"
      "  -i FILE, --input=FILE     Set input file/list/folder\r\n"
      "  -o PATH, --output=PATH    Set output folder\r\n"
      "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)\r\n"
      " \r\n"
      "Advanced options:\r\n"
      " \r\n"
      "  --width=NUM               Set output image width\r\n"
      "  --height=NUM              Set output image height\r\n"
      "  --filename-mask=STR       Define output filename format\r\n"
      "  --flip-horizontal         Flip output image horizontally\r\n"
      "  --flip-vertical           Flip output image vertically\r\n"
      "  --brightness=NUM          Set output image brightness, NUM = -100..100\r\n"
      "  --contrast=NUM            Set output image contrast, NUM = -100..100\r\n"
      "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99\r\n"
      "  --invert                  Invert output image\r\n"
      "  --greyscale               Greyscale output image\r\n"
      "  --profile=FILE            Set configuration file with required settings\r\n"
      "    ...                     Refer documentation for all available options\r\n"
      " \r\n"
      "Other options:\r\n"
      " \r\n"
      "  -q, --quiet               Don't print status messages to stdout\r\n"
      "  -d, --debug               Print debug information to stdout\r\n"
      "  -p, --pause               Pause at exit\r\n"
      "  -v, --version             Display version information and exit\r\n";
  for (const char* option : {"-h", "-?", "--help", "--HELP=anything"}) {
    const ProgramResult result = RunProgramWith({option});
    EXPECT_EQ(result.output, expected) << option;
    EXPECT_EQ(result.lines.size(), 38u) << option;
    EXPECT_EQ(result.exitCode, 0) << option;
  }
}

TEST(CommandLine, PauseBeforeAnErrorWaitsWithoutAPrompt) {
  RunningProgram program({"-p", "--profile=/nonexistent/p.ini"});
  ASSERT_TRUE(program.started());
  EXPECT_FALSE(program.WaitForExit(700)) << "ended without waiting for a key";
  program.WriteInput("x");
  ASSERT_TRUE(program.WaitForExit(10000));
  EXPECT_EQ(program.result().lines, std::vector<std::string>{"Error: Invalid profile file"});
  EXPECT_EQ(program.result().exitCode, 2);
}

TEST(CommandLine, PauseAfterAnErrorIsNeverReached) {
  RunningProgram program({"--profile=/nonexistent/p.ini", "-p"});
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(program.WaitForExit(10000)) << "waited although -p came after the error";
  EXPECT_EQ(program.result().lines, std::vector<std::string>{"Error: Invalid profile file"});
}

TEST(CommandLine, PausePromptsAfterARunEvenWhenQuiet) {
  RunningProgram program({"-q", "-p", "-i", "/nonexistent-folder/"});
  ASSERT_TRUE(program.started());
  EXPECT_FALSE(program.WaitForExit(700));
  program.CloseInput();  // end of input ends the wait
  ASSERT_TRUE(program.WaitForExit(10000));
  ASSERT_FALSE(program.result().lines.empty());
  EXPECT_EQ(program.result().lines.back(), "Press any key to exit.");
}

TEST(CommandLine, SecondCopyEndsAtOnceWithoutOutput) {
  RunningProgram first({"-p", "--profile=/nonexistent/p.ini"});
  ASSERT_TRUE(first.started());
  ASSERT_FALSE(first.WaitForExit(500)) << "the first copy should be waiting for a key";
  const ProgramResult second = RunProgramWith({"-v"});
  EXPECT_EQ(second.exitCode, 3);
  EXPECT_EQ(second.output, "");
  EXPECT_EQ(second.errorOutput, "");
  first.WriteInput("\n");
  ASSERT_TRUE(first.WaitForExit(10000));
  EXPECT_EQ(RunProgramWith({"-v"}).exitCode, 0) << "the lock must be released when the first copy ends";
}

}  // namespace
}  // namespace lumivane::testing
