// The committed manual page, user guide and bash completion are exactly what the generator makes of their
// templates and the program's tables, so they cannot drift from the code.
#include <gtest/gtest.h>

#include "docs/docs_files.h"
#include "reference/documents.h"

namespace lumivane::testing {
namespace {

using reference::DocumentKind;

struct GeneratedDocument {
  DocumentKind kind;
  const char* templatePath;
  const char* outputPath;
};
// The same list as in scripts/update-docs.sh.
constexpr GeneratedDocument kDocuments[] = {
    {DocumentKind::kManualPage, "docs/lumivanecmd.1.in", "docs/lumivanecmd.1"},
    {DocumentKind::kUserGuide, "docs/user-guide.md.in", "docs/user-guide.md"},
    {DocumentKind::kCompletion, "completion/lumivanecmd.bash.in", "completion/lumivanecmd.bash"},
};

// "" when equal, else where the two first differ.
std::string FirstDifference(const std::string& committed, const std::string& generated) {
  const std::vector<std::string> have = SplitIntoLines(committed);
  const std::vector<std::string> want = SplitIntoLines(generated);
  for (std::size_t i = 0; i < std::max(have.size(), want.size()); ++i) {
    const std::string a = i < have.size() ? have[i] : "<end of file>";
    const std::string b = i < want.size() ? want[i] : "<end of file>";
    if (a != b) return "line " + std::to_string(i + 1) + ":\n  committed: " + a + "\n  generated: " + b;
  }
  return committed == generated ? "" : "line ends differ";
}

TEST(GeneratedDocuments, MatchWhatTheGeneratorMakesOfTheirTemplates) {
  const std::string descriptions = ReadSourceFile("docs/reference-descriptions.txt");
  for (const GeneratedDocument& document : kDocuments) {
    std::vector<std::string> problems;
    const auto generated =
        reference::GenerateDocument(document.kind, descriptions, ReadSourceFile(document.templatePath), problems);
    ASSERT_TRUE(generated.has_value()) << document.templatePath << ": " << (problems.empty() ? "" : problems[0]);
    const std::string difference = FirstDifference(ReadSourceFile(document.outputPath), *generated);
    EXPECT_EQ(difference, "") << document.outputPath << " is out of date; run scripts/update-docs.sh";
  }
}

TEST(GeneratedDocuments, MarkersAndProductWordsAreFilled) {
  const std::string descriptions = ReadSourceFile("docs/reference-descriptions.txt");
  std::vector<std::string> problems;
  const auto document = reference::GenerateDocument(DocumentKind::kUserGuide, descriptions,
                                                    "# @TITLE@ (@VERSION@)\n@REFERENCE tokens@\nby @MAKER@", problems);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->substr(0, document->find('\n')), "# Lumivane 3.0 (3.0)");
  EXPECT_NE(document->find("| `%filename%` |"), std::string::npos);
  EXPECT_TRUE(document->ends_with("\nby Tarnwick")) << *document;
  EXPECT_EQ(document->find("@"), std::string::npos);
}

TEST(GeneratedDocuments, AnUnknownSectionIsAnError) {
  const std::string descriptions = ReadSourceFile("docs/reference-descriptions.txt");
  for (const GeneratedDocument& document : kDocuments) {
    std::vector<std::string> problems;
    EXPECT_FALSE(
        reference::GenerateDocument(document.kind, descriptions, "text\n@REFERENCE settings@\n", problems).has_value())
        << document.templatePath;
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "template line 2: unknown section settings");
  }
}

}  // namespace
}  // namespace lumivane::testing
