#pragma once
// Fills a document template: each marker line "@REFERENCE name@" becomes the generated section `name` in the
// document's own syntax, and the words @PROGRAM@, @TITLE@, @VERSION@, @YEARS@, @MAKER@ and @HOMEPAGE@ become the
// product's values. The rest of the template is copied unchanged.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reference/descriptions.h"
#include "reference/reference_model.h"

namespace lumivane::reference {

enum class DocumentKind { kManualPage, kUserGuide, kCompletion };

// "man", "markdown" or "bash".
std::optional<DocumentKind> DocumentKindNamed(std::string_view name);

// The filled document, or nothing when the template names a section this kind of document does not have
// (reported in `problems` with the line number).
std::optional<std::string> RenderDocument(DocumentKind kind, const ReferenceModel& model,
                                          const Descriptions& descriptions, std::string_view templateText,
                                          std::vector<std::string>& problems);

// The whole generation: the model from the program's tables, the descriptions parsed and checked against it, the
// template filled. Nothing when any of these fails; every fault is added to `problems`.
std::optional<std::string> GenerateDocument(DocumentKind kind, std::string_view descriptionsText,
                                            std::string_view templateText, std::vector<std::string>& problems);

// The generated sections of one kind of document, one renderer each; nullptr for a section the kind does not have.
// A template names them "main-options", "advanced-options", "tokens", "output-formats", "raw-extensions" and
// "completion-data".
using SectionRenderer = std::string (*)(const ReferenceModel& model, const Descriptions& descriptions);
struct SectionRenderers {
  SectionRenderer mainOptions = nullptr;
  SectionRenderer advancedOptions = nullptr;
  SectionRenderer tokens = nullptr;
  SectionRenderer outputFormats = nullptr;
  SectionRenderer rawExtensions = nullptr;
  SectionRenderer completionData = nullptr;
};
SectionRenderers ManualPageSections();
SectionRenderers UserGuideSections();
SectionRenderers CompletionSections();

}  // namespace lumivane::reference
