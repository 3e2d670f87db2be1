// The hand-written descriptions must cover exactly what the program has: every option, token and output format.
#include "reference/descriptions.h"

#include <gtest/gtest.h>

#include <functional>

#include "docs/docs_files.h"

namespace lumivane::testing {
namespace {

using reference::BuildReferenceModel;
using reference::CheckDescriptions;
using reference::ParseDescriptions;

constexpr const char* kDescriptionsFile = "docs/reference-descriptions.txt";

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The problems found in `text` by the parser and, when it parses, by the check against the program.
std::vector<std::string> ProblemsOf(const std::string& text) {
  std::vector<std::string> problems;
  const auto model = BuildReferenceModel(problems);
  const auto descriptions = ParseDescriptions(text, problems);
  if (model && descriptions) problems = CheckDescriptions(*model, *descriptions);
  return problems;
}

bool Mentions(const std::vector<std::string>& problems, const std::string& part) {
  for (const std::string& problem : problems) {
    if (problem.find(part) != std::string::npos) return true;
  }
  return false;
}

std::string WithoutLineStartingWith(std::string text, const std::string& start) {
  const std::size_t at = text.find("\n" + start);
  if (at == std::string::npos) return text;
  const std::size_t end = text.find('\n', at + 1);
  text.erase(at + 1, end - at);
  return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ReferenceDescriptions, CoverEveryOptionTokenAndFormatOfTheProgram) {
  const std::vector<std::string> problems = ProblemsOf(ReadSourceFile(kDescriptionsFile));
  EXPECT_TRUE(problems.empty()) << "docs/reference-descriptions.txt disagrees with the program:\n" << Joined(problems);
}

struct Mistake {
  const char* name;
  std::function<std::string(const std::string&)> make;
  const char* expectedProblem;
};

TEST(ReferenceDescriptions, EachMismatchWithTheProgramIsReported) {
  const std::string good = ReadSourceFile(kDescriptionsFile);
  ASSERT_TRUE(ProblemsOf(good).empty());
  const Mistake mistakes[] = {
      {"advanced option undescribed", [](const std::string& t) { return WithoutLineStartingWith(t, "--width="); },
       "option --width has no description"},
      {"main option undescribed", [](const std::string& t) { return WithoutLineStartingWith(t, "--profile="); },
       "option --profile has no description"},
      {"option the program lacks",
       [](const std::string& t) { return Replaced(t, "[keywords]", "--sharpen=NUM  Sharpen.\n[keywords]"); },
       "option --sharpen is described but the program has no such option"},
      {"flag described with a value", [](const std::string& t) { return Replaced(t, "--invert  ", "--invert=YES  "); },
       "option --invert takes no value"},
      {"value option described as a flag",
       [](const std::string& t) { return Replaced(t, "--gamma=NUM  ", "--gamma  "); }, "option --gamma takes a value"},
      {"placeholder other than the help's",
       [](const std::string& t) { return Replaced(t, "--output=PATH  ", "--output=FOLDER  "); },
       "option --output is shown as --output=PATH in the help"},
      {"note on a keyword the option lacks",
       [](const std::string& t) { return Replaced(t, "[tokens]", "--dither=SEPIA  Brown.\n[tokens]"); },
       "keyword note --dither=SEPIA names no keyword"},
      {"note on another format's compression keyword",
       [](const std::string& t) { return Replaced(t, "[tokens]", "--bmp-compression=LZW  Lempel.\n[tokens]"); },
       "keyword note --bmp-compression=LZW names no keyword"},
      {"token undescribed", [](const std::string& t) { return WithoutLineStartingWith(t, "%rnd%"); },
       "token %rnd% has no description"},
      {"token the program lacks",
       [](const std::string& t) { return Replaced(t, "[formats]", "%camera%  Camera model.\n[formats]"); },
       "token %camera% is described but the program has no such token"},
      {"format undescribed", [](const std::string& t) { return WithoutLineStartingWith(t, "webp "); },
       "format webp has no description"},
      {"format the program lacks", [](const std::string& t) { return t + "avif  AV1 pictures.\n"; },
       "format avif is described but the program has no such format"},
  };
  for (const Mistake& mistake : mistakes) {
    const std::string text = mistake.make(good);
    ASSERT_NE(text, good) << mistake.name << ": the mistake was not made";
    const std::vector<std::string> problems = ProblemsOf(text);
    EXPECT_TRUE(Mentions(problems, mistake.expectedProblem))
        << mistake.name << ": expected \"" << mistake.expectedProblem << "\", got:\n"
        << Joined(problems);
  }
}

TEST(ReferenceDescriptions, MalformedFilesAreRefusedWithTheLineNumber) {
  const struct {
    const char* text;
    const char* expectedProblem;
  } cases[] = {
      {"--width=NUM  Width.\n", "line 1: entry before the first section"},
      {"[options]\n--width=NUM  Width.\n--width=PX  Again.\n", "line 3: --width=PX is described twice"},
      {"# comment\n\n[options]\n--width=NUM\n", "line 4: --width=NUM has no description"},
      {"[settings]\n", "line 1: unknown section [settings]"},
  };
  for (const auto& entry : cases) {
    std::vector<std::string> problems;
    EXPECT_FALSE(ParseDescriptions(entry.text, problems).has_value()) << entry.text;
    EXPECT_TRUE(Mentions(problems, entry.expectedProblem)) << entry.text << "\ngot:\n" << Joined(problems);
  }
}

TEST(ReferenceDescriptions, SplitNamePlaceholderAndText) {
  std::vector<std::string> problems;
  const auto descriptions = ParseDescriptions(
      "[options]\n  --width=NUM \t Target width.  \n--invert  Negative.\r\n[tokens]\n%n%  Counter.\n"
      "[keywords]\n--dither=FS  Error diffusion.\n[formats]\njpg  JPEG.\n",
      problems);
  ASSERT_TRUE(descriptions.has_value()) << Joined(problems);
  EXPECT_EQ(descriptions->options.at("--width").placeholder, "NUM");
  EXPECT_EQ(descriptions->options.at("--width").text, "Target width.");
  EXPECT_EQ(descriptions->options.at("--invert").placeholder, "");
  EXPECT_EQ(descriptions->options.at("--invert").text, "Negative.");
  EXPECT_EQ(descriptions->tokens.at("%n%"), "Counter.");
  EXPECT_EQ(reference::KeywordNote(*descriptions, "--dither", "FS"), "Error diffusion.");
  EXPECT_EQ(reference::KeywordNote(*descriptions, "--dither", "BAYER4"), "");
  EXPECT_EQ(descriptions->formats.at("jpg"), "JPEG.");
}

}  // namespace
}  // namespace lumivane::testing
