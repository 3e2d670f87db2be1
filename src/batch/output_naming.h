#pragma once
// The name of a converted file's output, and its commit: the check against the inputs and the write through a
// temporary file.
#include <string>
#include <string_view>

#include "batch/protected_inputs.h"
#include "settings/conversion_records.h"
#include "settings/name_tokens.h"

namespace lumivane {

// The tokens of the output name: the file's final depth and working size, and the batch's numbering as it stands
// when the file is committed.
TokenValues OutputNameValues(const BatchPlan& plan, const FileToConvert& file, const ConvertedFile& converted,
                             const FileNumbering& numbering);

// Output folder, plus the file's relative subfolder when subfolders are kept, plus the expanded filename mask.
// Nothing is checked or created.
std::string BuildOutputPath(const BatchPlan& plan, const FileToConvert& file, const ConvertedFile& converted,
                            const FileNumbering& numbering);

// The output path as far as it is known before the file is decoded: with the format's fixed depth (a watermark
// or name never shows another) and the file's numbering; a token that needs the picture ("%width%", or "%bpp%"
// with automatic depth) is left as written. The same path as BuildOutputPath gives after the conversion when the
// mask holds no such token.
std::string OutputPathBeforeDecoding(const BatchPlan& plan, const FileToConvert& file);

// True when the ".." parts of a path below a folder lead out of it ("a/../../b"); only the text counts, so a link
// inside the folder leads wherever it leads.
bool LeadsOutOfFolder(std::string_view relativePath);

// Names the converted file's output, refuses a name whose ".." parts lead out of the output folder
// (kOutsideOutputFolder) or that is one of `inputs` (kWouldReplaceInput), both before anything is written, and
// writes the encoded bytes through a temporary file in the output's folder (kWriteFailed when that
// fails: an older output of the same name is then as it was). Returns the output path.
std::string CommitConvertedFile(const BatchPlan& plan, const ProtectedInputs& inputs, const FileToConvert& file,
                                const FileNumbering& numbering, ConvertedFile& converted);

}  // namespace lumivane
