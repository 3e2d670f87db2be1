// The user guide's reference tables name exactly the program's options, tokens and formats.
#include <gtest/gtest.h>

#include <regex>

#include "batch/output_naming.h"
#include "docs/docs_files.h"
#include "formats/registry.h"

namespace lumivane::testing {
namespace {

// The lines between the heading `heading` and the next heading of the same or a higher level.
std::vector<std::string> Part(const std::string& heading) {
  const std::size_t level = heading.find(' ');
  std::vector<std::string> part;
  bool inside = false;
  for (const std::string& line : SplitIntoLines(ReadSourceFile("docs/user-guide.md"))) {
    const std::size_t hashes = line.find_first_not_of('#');
    const bool isHeading = hashes > 0 && hashes != std::string::npos && line[hashes] == ' ';
    if (isHeading && hashes <= level) {
      inside = line == heading;
    } else if (inside) {
      part.push_back(line);
    }
  }
  return part;
}

// The first cells of the part's table rows, without their code quotes: "`-i FILE`, `--input=FILE`".
std::vector<std::string> FirstCells(const std::vector<std::string>& part) {
  static const std::regex row(R"(^\| ([^|]+) \|.*)");
  std::vector<std::string> cells;
  for (const std::string& line : part) {
    std::smatch match;
    if (std::regex_match(line, match, row) && match[1] != "---") cells.push_back(match[1]);
  }
  return cells;
}

std::set<std::string> LongOptionsIn(const std::vector<std::string>& cells) {
  static const std::regex longName(R"(`(--[a-z0-9-]+))");
  std::set<std::string> names;
  for (const std::string& cell : cells) {
    for (auto it = std::sregex_iterator(cell.begin(), cell.end(), longName); it != std::sregex_iterator(); ++it) {
      names.insert((*it)[1]);
    }
  }
  return names;
}

TEST(UserGuide, AdvancedOptionsTablesNameExactlyTheOptionTable) {
  EXPECT_EQ(NameDifference(LongOptionsIn(FirstCells(Part("### Advanced options"))), AdvancedOptionNames(false)), "");
}

TEST(UserGuide, MainOptionsTableNamesExactlyTheMainOptions) {
  const std::set<std::string> main = MainOptionNames();
  ASSERT_FALSE(main.empty());
  EXPECT_EQ(NameDifference(LongOptionsIn(FirstCells(Part("### Main options"))), main), "");
}

// The first cells below a table's header row.
std::vector<std::string> RowKeys(const std::string& heading) {
  std::vector<std::string> cells = FirstCells(Part(heading));
  if (!cells.empty()) cells.erase(cells.begin());
  return cells;
}

TEST(UserGuide, TokenAndFormatTablesFollowTheProgramsTables) {
  std::vector<std::string> tokens;
  for (const TokenRow& row : kTokenTable) tokens.push_back("`" + std::string(row.token) + "`");
  EXPECT_EQ(RowKeys("### Filename mask tokens"), tokens);
  std::vector<std::string> formats;
  for (const OutputFormat& format : OutputFormatTable()) formats.push_back("`" + std::string(format.identifier) + "`");
  EXPECT_EQ(RowKeys("### Output formats"), formats);
}

TEST(UserGuide, TellsHowToPassFoldersAndWhatTheExitCodesMean) {
  const std::string guide = ReadSourceFile("docs/user-guide.md");
  EXPECT_NE(guide.find("`-i photos -o out` converts\n  `./photos` into `./out`"), std::string::npos);
  for (const char* row : {"| 0 |", "| 1 |", "| 2 |", "| 3 |"}) EXPECT_NE(guide.find(row), std::string::npos) << row;
}

}  // namespace
}  // namespace lumivane::testing
