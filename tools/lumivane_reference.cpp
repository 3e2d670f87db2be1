// lumivane_reference KIND DESCRIPTIONS TEMPLATE: prints the document made from TEMPLATE with its reference sections
// generated from the program's own tables (KIND is man, markdown or bash). scripts/update-docs.sh runs it for the
// manual page, the user guide and the bash completion; a test checks that the committed files match its output.
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "reference/documents.h"

namespace {

std::optional<std::string> ReadWholeFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

int Fail(const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) std::fprintf(stderr, "lumivane_reference: %s\n", problem.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lumivane::reference;
  const std::optional<DocumentKind> kind = argc == 4 ? DocumentKindNamed(argv[1]) : std::nullopt;
  if (!kind) {
    std::fprintf(stderr, "usage: lumivane_reference man|markdown|bash DESCRIPTIONS TEMPLATE\n");
    return 2;
  }
  const std::optional<std::string> descriptions = ReadWholeFile(argv[2]);
  const std::optional<std::string> templateText = ReadWholeFile(argv[3]);
  if (!descriptions || !templateText) return Fail({std::string("cannot read ") + (descriptions ? argv[3] : argv[2])});
  std::vector<std::string> problems;
  const std::optional<std::string> document = GenerateDocument(*kind, *descriptions, *templateText, problems);
  if (!document) return Fail(problems);
  std::fwrite(document->data(), 1, document->size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
