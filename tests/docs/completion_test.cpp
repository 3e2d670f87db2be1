// Drives the bash completion function the way bash does: COMP_WORDS and COMP_CWORD set, _lumivanecmd called,
// COMPREPLY read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "docs/docs_files.h"
#include "formats/registry.h"
#include "reference/reference_model.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace lumivane::testing {
namespace {

constexpr const char* kDriver =
    "source \"$0\" || exit 9\n"
    "COMP_WORDS=(\"$@\"); COMP_CWORD=$(( $# - 1 )); COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
    "_lumivanecmd || exit 8\n"
    "(( ${#COMPREPLY[@]} == 0 )) || printf '%s\\n' \"${COMPREPLY[@]}\"\n";

// The candidates offered for the command line `words`, the last word being completed.
std::vector<std::string> Complete(const std::vector<std::string>& words) {
  std::vector<std::string> command = {"bash", "--norc", "--noprofile",
                                      "-c",   kDriver,  SourceFile("completion/lumivanecmd.bash")};
  command.push_back("lumivanecmd");
  command.insert(command.end(), words.begin(), words.end());
  const ProgramResult result = RunCommand(command);
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_EQ(result.errorOutput, "");
  return SplitIntoLines(result.output);
}

std::vector<std::string> Sorted(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  return words;
}

TEST(BashCompletion, IsRegisteredForTheProgram) {
  const ProgramResult result =
      RunCommand({"bash", "--norc", "--noprofile", "-c", "source \"$0\" && complete -p lumivanecmd",
                  SourceFile("completion/lumivanecmd.bash")});
  EXPECT_EQ(result.output, "complete -F _lumivanecmd lumivanecmd\n");
}

TEST(BashCompletion, CompletesOptionNamesWithAnEqualsSignForThoseThatTakeAValue) {
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> expected;
  } cases[] = {
      {{"--jpg-q"}, {"--jpg-quality="}},
      {{"--JPG-Q"}, {"--jpg-quality="}},
      {{"--greys"}, {"--greyscale"}},
      {{"--inp"}, {"--input="}},
      {{"--fr-solid-o"}, {"--fr-solid-opacity="}},
      {{"--wm-solid"}, {}},  // the profile spelling of the frame opacity is no command-line option
      {{"--resize-a"}, {"--resize-algorithm="}},
      {{"-i", "x.cr2", "--no-s"}, {"--no-subfolders"}},
      {{"--jo"}, {"--jobs="}},
      {{"--sh"}, {"--shard="}},
      {{"--skip"}, {"--skip-existing"}},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(Complete(entry.words), entry.expected) << entry.words.back();
  }
}

TEST(BashCompletion, OffersEveryCommandLineOptionAfterTwoDashes) {
  std::set<std::string> offered;
  for (std::string word : Complete({"--"})) {
    if (word.ends_with("=")) word.pop_back();
    offered.insert(word);
  }
  std::set<std::string> expected = AdvancedOptionNames(true);
  const std::set<std::string> main = MainOptionNames();
  expected.insert(main.begin(), main.end());
  EXPECT_EQ(NameDifference(offered, expected), "");
}

TEST(BashCompletion, OffersTheSixResizeFiltersAfterTheEqualsSign) {
  const std::vector<std::string> filters = {"BOX", "BILINEAR", "BSPLINE", "BICUBIC", "CATMULLROM", "LANCZOS"};
  // With "=" a word break (bash's default) the option, "=" and the value arrive as separate words.
  EXPECT_EQ(Complete({"--resize-algorithm", "="}), filters);
  EXPECT_EQ(Complete({"--resize-algorithm", "=", "B"}),
            (std::vector<std::string>{"BOX", "BILINEAR", "BSPLINE", "BICUBIC"}));
  EXPECT_EQ(Complete({"--resize-algorithm", "=", "la"}), (std::vector<std::string>{"lanczos"}));
  // Without it the value comes in the same word, and each candidate repeats the option.
  EXPECT_EQ(Complete({"--resize-algorithm=BI"}),
            (std::vector<std::string>{"--resize-algorithm=BILINEAR", "--resize-algorithm=BICUBIC"}));
}

TEST(BashCompletion, OffersEachKeywordOptionsKeywords) {
  std::vector<std::string> problems;
  const auto model = reference::BuildReferenceModel(problems);
  ASSERT_TRUE(model.has_value());
  int checked = 0;
  for (const reference::AdvancedOption& option : model->advancedOptions) {
    if (option.kind != ValueKind::kKeyword || option.scope == OptionScope::kProfileOnly) continue;
    EXPECT_EQ(Complete({option.name, "="}), option.keywords) << option.name;
    ++checked;
  }
  EXPECT_GT(checked, 30);
  EXPECT_EQ(Complete({"--tiff-compression", "=", "CC"}), (std::vector<std::string>{"CCITTFAX3", "CCITTFAX4"}));
  EXPECT_EQ(Complete({"--greyscale", "="}), std::vector<std::string>{});
  EXPECT_EQ(Complete({"--jpg-quality", "="}), std::vector<std::string>{});
}

TEST(BashCompletion, OffersTheOutputFormatsAfterTheConversionOption) {
  const std::vector<std::string>& formats = OutputFormatList();
  EXPECT_EQ(Complete({"-c", ""}), formats);
  EXPECT_EQ(Complete({"--conversion", "="}), formats);
  EXPECT_EQ(Complete({"-c", "jp"}), (std::vector<std::string>{"jp2", "jpg"}));
  EXPECT_EQ(Complete({"--conversion=ti"}), (std::vector<std::string>{"--conversion=tiff"}));
}

TEST(BashCompletion, OffersFilesForInputsAndFoldersForTheOutput) {
  TempDir dir;
  const std::string photo = dir.WriteFile("shoot/a.cr2", "x");
  const std::string prefix = (dir.path() / "shoot").string();
  std::filesystem::create_directories(dir.path() / "shoot" / "archive");
  const std::vector<std::string> both = {prefix + "/a.cr2", prefix + "/archive"};
  EXPECT_EQ(Sorted(Complete({"-i", prefix + "/"})), both);
  EXPECT_EQ(Sorted(Complete({"--input", "=", prefix + "/"})), both);
  EXPECT_EQ(Sorted(Complete({"--wm-image", "=", prefix + "/a"})), both);
  EXPECT_EQ(Complete({"-o", prefix + "/"}), (std::vector<std::string>{prefix + "/archive"}));
  EXPECT_EQ(Complete({"--output", "=", prefix + "/"}), (std::vector<std::string>{prefix + "/archive"}));
}

}  // namespace
}  // namespace lumivane::testing
