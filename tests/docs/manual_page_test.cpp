// The manual page renders without warnings, and its reference sections name exactly the program's options.
#include <gtest/gtest.h>

#include <regex>

#include "batch/output_naming.h"
#include "docs/docs_files.h"
#include "formats/registry.h"
#include "support/run_program.h"

namespace lumivane::testing {
namespace {

constexpr const char* kManualPage = "docs/lumivanecmd.1";

// The page as a terminal shows it, without bold or underlining.
std::vector<std::string> RenderedLines() {
  const ProgramResult rendered =
      RunCommand({"groff", "-man", "-Tutf8", "-P-cbou", "-rLL=100n", SourceFile(kManualPage)});
  EXPECT_EQ(rendered.exitCode, 0) << rendered.errorOutput;
  return SplitIntoLines(rendered.output);
}

// The lines of the section whose heading is `heading`, up to the next section heading.
std::vector<std::string> Section(const std::vector<std::string>& lines, const std::string& heading) {
  std::vector<std::string> section;
  bool inside = false;
  for (const std::string& line : lines) {
    const bool isHeading = !line.empty() && line[0] != ' ';
    if (isHeading) {
      inside = line == heading;
    } else if (inside) {
      section.push_back(line);
    }
  }
  return section;
}

// The long option names that start the tagged paragraphs of a section ("       --width=NUM").
std::set<std::string> TaggedOptionNames(const std::vector<std::string>& section) {
  static const std::regex tag(R"(^       (-\S.*))");
  static const std::regex longName(R"(--[a-z0-9-]+)");
  std::set<std::string> names;
  for (const std::string& line : section) {
    std::smatch match;
    if (!std::regex_match(line, match, tag)) continue;
    const std::string text = match[1];
    for (auto it = std::sregex_iterator(text.begin(), text.end(), longName); it != std::sregex_iterator(); ++it) {
      names.insert(it->str());
    }
  }
  return names;
}

std::string Text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(ManualPage, RendersWithoutWarnings) {
  const ProgramResult result = RunCommand({"groff", "-ww", "-z", "-man", SourceFile(kManualPage)});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.errorOutput, "");
}

TEST(ManualPage, AdvancedOptionsSectionNamesExactlyTheOptionTable) {
  EXPECT_EQ(NameDifference(TaggedOptionNames(Section(RenderedLines(), "ADVANCED OPTIONS")), AdvancedOptionNames(false)),
            "");
}

TEST(ManualPage, OptionsSectionNamesExactlyTheMainOptions) {
  const std::set<std::string> main = MainOptionNames();
  ASSERT_FALSE(main.empty());
  EXPECT_EQ(NameDifference(TaggedOptionNames(Section(RenderedLines(), "OPTIONS")), main), "");
}

TEST(ManualPage, ListsEveryTokenFormatAndAcceptedExtension) {
  const std::vector<std::string> lines = RenderedLines();
  const std::string tokens = "\n" + Text(Section(lines, "FILENAME MASK"));
  for (const TokenRow& row : kTokenTable) {
    // A tag narrower than the indent shares its line with the description.
    const std::string tag = "\n       " + std::string(row.token);
    EXPECT_TRUE(tokens.find(tag + "\n") != std::string::npos || tokens.find(tag + " ") != std::string::npos)
        << row.token;
  }
  const std::string formats = Text(Section(lines, "OUTPUT FORMATS"));
  for (const OutputFormat& format : OutputFormatTable()) {
    const std::string entry = "       " + std::string(format.identifier) + " \u2014 " + std::string(format.description);
    EXPECT_NE(formats.find(entry), std::string::npos) << entry;
  }
  const std::string input = Text(Section(lines, "INPUT"));
  for (const std::string& extension : AcceptedExtensionList()) {
    EXPECT_TRUE(std::regex_search(input, std::regex("\\b" + extension + "\\b"))) << extension;
  }
}

TEST(ManualPage, ShowsOtherThanAsciiCharactersOfDefaultsAsThemselves) {
  // The default watermark text holds the copyright sign, which roff needs as a named glyph.
  const std::string advanced = Text(Section(RenderedLines(), "ADVANCED OPTIONS"));
  EXPECT_NE(advanced.find("default \u00A9 2026 Tarnwick."), std::string::npos);
}

TEST(ManualPage, TellsHowToPassFoldersAndWhatTheExitCodesMean) {
  const std::vector<std::string> lines = RenderedLines();
  EXPECT_TRUE(std::regex_search(Text(Section(lines, "PATHS")),
                                std::regex(R"(-i photos\s+-o out\s+converts\s+\./photos\s+into\s+\./out)")));
  const std::string exitStatus = Text(Section(lines, "EXIT STATUS"));
  for (const char* code : {"0", "1", "2", "3"}) {
    EXPECT_TRUE(std::regex_search(exitStatus, std::regex(std::string("(^|\n)       ") + code + "  +[A-Z]"))) << code;
  }
}

}  // namespace
}  // namespace lumivane::testing
