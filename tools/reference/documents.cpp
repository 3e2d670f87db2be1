#include "reference/documents.h"

namespace lumivane::reference {
namespace {

constexpr std::string_view kMarkerStart = "@REFERENCE ";
constexpr std::string_view kMarkerEnd = "@";

struct KindName {
  std::string_view name;
  DocumentKind kind;
};
constexpr KindName kKindNames[] = {
    {"man", DocumentKind::kManualPage}, {"markdown", DocumentKind::kUserGuide}, {"bash", DocumentKind::kCompletion}};

struct SectionName {
  std::string_view name;
  SectionRenderer SectionRenderers::*renderer;
};
constexpr SectionName kSectionNames[] = {{"main-options", &SectionRenderers::mainOptions},
                                         {"advanced-options", &SectionRenderers::advancedOptions},
                                         {"tokens", &SectionRenderers::tokens},
                                         {"output-formats", &SectionRenderers::outputFormats},
                                         {"raw-extensions", &SectionRenderers::rawExtensions},
                                         {"completion-data", &SectionRenderers::completionData}};

SectionRenderers RenderersOf(DocumentKind kind) {
  switch (kind) {
    case DocumentKind::kManualPage: return ManualPageSections();
    case DocumentKind::kUserGuide: return UserGuideSections();
    case DocumentKind::kCompletion: return CompletionSections();
  }
  return {};
}

// The renderer of the section `name` in this kind of document, or nullptr.
SectionRenderer RendererNamed(const SectionRenderers& renderers, std::string_view name) {
  for (const SectionName& section : kSectionNames) {
    if (section.name == name) return renderers.*section.renderer;
  }
  return nullptr;
}

void ReplaceAll(std::string& text, std::string_view word, std::string_view value) {
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + value.size())) {
    text.replace(at, word.size(), value);
  }
}

std::string FillWords(std::string line, const ReferenceModel& model) {
  ReplaceAll(line, "@PROGRAM@", model.programName);
  ReplaceAll(line, "@TITLE@", model.productTitle);
  ReplaceAll(line, "@VERSION@", model.version);
  ReplaceAll(line, "@YEARS@", model.years);
  ReplaceAll(line, "@MAKER@", model.maker);
  ReplaceAll(line, "@HOMEPAGE@", model.webAddress);
  return line;
}

}  // namespace

std::optional<DocumentKind> DocumentKindNamed(std::string_view name) {
  for (const KindName& entry : kKindNames) {
    if (entry.name == name) return entry.kind;
  }
  return std::nullopt;
}

std::optional<std::string> RenderDocument(DocumentKind kind, const ReferenceModel& model,
                                          const Descriptions& descriptions, std::string_view templateText,
                                          std::vector<std::string>& problems) {
  std::string document;
  const SectionRenderers renderers = RenderersOf(kind);
  const std::size_t problemsBefore = problems.size();
  int number = 0;
  while (!templateText.empty()) {
    ++number;
    const std::size_t end = templateText.find('\n');
    const std::string_view line = templateText.substr(0, end);
    templateText.remove_prefix(end == std::string_view::npos ? templateText.size() : end + 1);
    if (line.starts_with(kMarkerStart) && line.ends_with(kMarkerEnd) && line.size() > kMarkerStart.size()) {
      const std::string_view name = line.substr(kMarkerStart.size(), line.size() - kMarkerStart.size() - 1);
      const SectionRenderer renderer = RendererNamed(renderers, name);
      if (renderer == nullptr) {
        problems.push_back("template line " + std::to_string(number) + ": unknown section " + std::string(name));
      } else {
        document += renderer(model, descriptions);
      }
      continue;
    }
    document += FillWords(std::string(line), model);
    if (end != std::string_view::npos) document += '\n';
  }
  if (problems.size() != problemsBefore) return std::nullopt;
  return document;
}

std::optional<std::string> GenerateDocument(DocumentKind kind, std::string_view descriptionsText,
                                            std::string_view templateText, std::vector<std::string>& problems) {
  const std::optional<ReferenceModel> model = BuildReferenceModel(problems);
  const std::optional<Descriptions> descriptions = ParseDescriptions(descriptionsText, problems);
  if (!model || !descriptions) return std::nullopt;
  const std::vector<std::string> mismatches = CheckDescriptions(*model, *descriptions);
  if (!mismatches.empty()) {
    problems.insert(problems.end(), mismatches.begin(), mismatches.end());
    return std::nullopt;
  }
  return RenderDocument(kind, *model, *descriptions, templateText, problems);
}

}  // namespace lumivane::reference
