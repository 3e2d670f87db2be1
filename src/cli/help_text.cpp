#include "cli/help_text.h"

#include <random>

#include "settings/message_template.h"

namespace lumivane {

namespace {

// How %s2% of a help line is filled.
enum class Example { kNone, kInputFormat, kOutputFormat };

struct HelpLine {
  const char* text;
  Example example;
};

// Option lines keep their descriptions at column 29: the option column is padded to 28 characters.
constexpr HelpLine kHelpLines[] = {
    {" ", Example::kNone},
    {"Usage: %s1% -i <filename> [options]", Example::kNone},
    {" ", Example::kNone},
    {"  %s1% -i example.%s2%", Example::kInputFormat},
    {"  %s1% -i c:\\tmp\\example.%s2%", Example::kInputFormat},
    {"  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted", Example::kInputFormat},
    {"  %s1% -i c:\\tmp\\filelist.txt", Example::kNone},
    {"  %s1% -i c:\\tmp\\ -o d:\\converted --jpg-quality=95", Example::kNone},
    {"  %s1% -i c:\\tmp\\ -o d:\\converted -c %s2% --jpg-quality=95", Example::kOutputFormat},
    {" ", Example::kNone},
    {"Options:", Example::kNone},
    {" ", Example::kNone},
    {"  -h, -?, --help            Display this help and exit", Example::kNone},
    {"  -i FILE, --input=FILE     Set input file/list/folder", Example::kNone},
    {"  -o PATH, --output=PATH    Set output folder", Example::kNone},
    {"  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)", Example::kNone},
    {" ", Example::kNone},
    {"Advanced options:", Example::kNone},
    {" ", Example::kNone},
    {"  --width=NUM               Set output image width", Example::kNone},
    {"  --height=NUM              Set output image height", Example::kNone},
    {"  --filename-mask=STR       Define output filename format", Example::kNone},
    {"  --flip-horizontal         Flip output image horizontally", Example::kNone},
    {"  --flip-vertical           Flip output image vertically", Example::kNone},
    {"  --brightness=NUM          Set output image brightness, NUM = -100..100", Example::kNone},
    {"  --contrast=NUM            Set output image contrast, NUM = -100..100", Example::kNone},
    {"  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99", Example::kNone},
    {"  --invert                  Invert output image", Example::kNone},
    {"  --greyscale               Greyscale output image", Example::kNone},
    {"  --profile=FILE            Set configuration file with required settings", Example::kNone},
    {"    ...                     Refer documentation for all available options", Example::kNone},
    {" ", Example::kNone},
    {"Other options:", Example::kNone},
    {" ", Example::kNone},
    {"  -q, --quiet               Don't print status messages to stdout", Example::kNone},
    {"  -d, --debug               Print debug information to stdout", Example::kNone},
    {"  -p, --pause               Pause at exit", Example::kNone},
    {"  -v, --version             Display version information and exit", Example::kNone},
};
static_assert(std::size(kHelpLines) == 38);

}  // namespace

std::vector<std::string> HelpLines(const std::string& programName, const std::vector<std::string>& inputFormats,
                                   const std::string& outputExample) {
  std::random_device seed;
  std::mt19937 random(seed());
  std::vector<std::string> lines;
  lines.reserve(std::size(kHelpLines));
  for (const HelpLine& line : kHelpLines) {
    std::string example;
    if (line.example == Example::kInputFormat && !inputFormats.empty()) {
      std::uniform_int_distribution<size_t> pick(0, inputFormats.size() - 1);
      example = inputFormats[pick(random)];
    } else if (line.example == Example::kOutputFormat) {
      example = outputExample;
    }
    lines.push_back(FillTemplate(line.text, programName, example, "", ""));
  }
  return lines;
}

}  // namespace lumivane
