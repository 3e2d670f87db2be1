#pragma once
// The name under which an output file is written before it is renamed onto its final name.
#include <cstdint>
#include <string>
#include <string_view>

namespace lumivane {

// outputFolder (ending in "/"), then relativeSubfolder (empty or ending in "/") when keepSubfolders is set, then
// TemporaryOutputName for the current local time and five random letters. The folder is that of the output file
// built from the default mask, so the final rename stays within one folder.
std::string TemporaryOutputPath(const std::string& outputFolder, const std::string& relativeSubfolder,
                                bool keepSubfolders, const std::string& format);

// ".lumivane", then localSeconds in decimal with each digit d written as the d-th letter counted from 0
// (0 -> a ... 9 -> j), then randomLetters, then "." and the format identifier, then ".part". Hidden and
// recognisable: one left behind by a power cut or SIGKILL is found with `find OUT -name '.lumivane*.part'`, and
// no program that watches the folder for images takes it for one.
std::string TemporaryOutputName(std::int64_t localSeconds, std::string_view randomLetters, const std::string& format);

// Five letters, each drawn at random from a to z.
std::string RandomLetters();

}  // namespace lumivane
