#include "cli/command_line.h"

#include <optional>
#include <string_view>

#include "batch/batch_state.h"
#include "batch/run_batch.h"
#include "cli/help_text.h"
#include "cli/main_options.h"
#include "cli/option_table.h"
#include "cli/profile.h"
#include "cli/value_rules.h"
#include "formats/registry.h"
#include "platform/console.h"
#include "platform/process.h"
#include "platform/stop_signals.h"
#include "settings/message_template.h"
#include "settings/messages.h"
#include "settings/product.h"
#include "settings/string_table.h"

namespace lumivane {

namespace {

struct FirstCommandRow {
  const char* key;
  FirstCommand command;
};

constexpr FirstCommandRow kFirstCommands[] = {
    {"-U", FirstCommand::kUninstall},      {"-T", FirstCommand::kTestRender}, {"-V", FirstCommand::kVersion},
    {"--VERSION", FirstCommand::kVersion}, {"-H", FirstCommand::kHelp},       {"-?", FirstCommand::kHelp},
    {"--HELP", FirstCommand::kHelp},
};

bool IsMissingValue(const std::string& value, const char* forbiddenStart) {
  return value.empty() || value.rfind(forbiddenStart, 0) == 0;
}

// -i, -o and -c: the short form takes the next parameter, the long form its own "=" part. Path values
// (-i, -o) are quote-joined. Returns false when the value is missing.
bool ReadMainValue(const Parameters& parameters, int& index, const std::string& key, bool isPath, std::string& stored) {
  if (key.rfind("--", 0) != 0) ++index;
  std::string value = OptionValue(parameters, index);
  if (IsMissingValue(value, "-")) return false;
  if (isPath) value = QuoteJoinParameters(parameters, index, value);
  stored = std::string(QuoteTrim(value));
  return true;
}

// Advanced options and --profile keep their value in the same parameter; a single leading "-" is allowed.
bool ReadAdvancedValue(const Parameters& parameters, int index, std::string& value) {
  value = OptionValue(parameters, index);
  return !IsMissingValue(value, "--");
}

// The options of how the batch runs into the job's run options; nothing or the error.
std::optional<Message> ReadRunOption(const Parameters& parameters, int& index, const MainOptionRow& row,
                                     RunOptions& run) {
  switch (row.option) {
    case MainOption::kProgress: run.progress = true; return std::nullopt;
    case MainOption::kSkipExisting: run.skipExisting = true; return std::nullopt;
    case MainOption::kDryRun: run.dryRun = true; return std::nullopt;
    default: break;
  }
  std::string value;
  if (!ReadAdvancedValue(parameters, index, value)) return Message::kIncorrectParameters;
  if (row.option == MainOption::kReport) {
    value = std::string(QuoteTrim(QuoteJoinParameters(parameters, index, value)));
    if (value.empty()) return Message::kIncorrectParameters;
    run.reportFile = value;
    return std::nullopt;
  }
  if (row.option == MainOption::kShard) {
    const std::optional<Share> share = ParseShare(row, value);
    if (!share) return Message::kInvalidShard;
    run.shard = share->part;
    run.shardCount = share->parts;
    return std::nullopt;
  }
  const std::optional<std::int32_t> jobs = ParseCount(row, value);
  if (!jobs) return Message::kInvalidJobs;
  run.jobs = *jobs;
  run.jobsGiven = true;
  return std::nullopt;
}

}  // namespace

FirstCommand FirstParameterCommand(const Parameters& parameters) {
  const std::string key = OptionKey(parameters, 0);
  for (const FirstCommandRow& row : kFirstCommands) {
    if (key == row.key) return row.command;
  }
  return FirstCommand::kNone;
}

CommandLineScan ScanParameters(const Parameters& parameters, Settings& settings, JobRecord& job) {
  CommandLineScan scan;
  const int count = static_cast<int>(parameters.size());
  for (int index = 0; index < count && !scan.error; ++index) {
    const std::string key = OptionKey(parameters, index);
    if (key.empty()) continue;
    if (const MainOptionRow* row = FindMainOption(key)) {
      std::string value;
      switch (row->option) {
        case MainOption::kInput:
          job.consoleMode = 1;  // set before the value is examined
          if (!ReadMainValue(parameters, index, key, true, job.inputFolder)) scan.error = Message::kIncorrectParameters;
          break;
        case MainOption::kOutput:
          if (!ReadMainValue(parameters, index, key, true, job.outputFolder))
            scan.error = Message::kIncorrectParameters;
          break;
        case MainOption::kConversion:
          if (!ReadMainValue(parameters, index, key, false, job.outputFormat)) {
            scan.error = Message::kIncorrectParameters;
          }
          break;
        case MainOption::kProfile:
          if (!ReadAdvancedValue(parameters, index, value)) {
            scan.error = Message::kIncorrectParameters;
          } else {
            value = QuoteJoinParameters(parameters, index, value);
            if (!ApplyProfile(settings, std::string(QuoteTrim(value)))) scan.error = Message::kInvalidProfile;
          }
          break;
        case MainOption::kDebug: job.debugMarker = kDebugMarker; break;
        case MainOption::kQuiet: scan.quiet = true; break;
        case MainOption::kPause: scan.pause = true; break;
        case MainOption::kJobs:
        case MainOption::kProgress:
        case MainOption::kReport:
        case MainOption::kSkipExisting:
        case MainOption::kDryRun:
        case MainOption::kShard: scan.error = ReadRunOption(parameters, index, *row, job.runOptions); break;
      }
      continue;
    }
    const OptionRow* option = FindOption(key, false);
    if (option == nullptr) continue;  // unrecognised options are ignored silently
    std::string value;
    if (option->kind != ValueKind::kFlag) {
      if (!ReadAdvancedValue(parameters, index, value)) {
        scan.error = Message::kIncorrectParameters;
        break;
      }
      if (option->kind == ValueKind::kText) value = QuoteJoinParameters(parameters, index, value);
    }
    ApplyAdvancedOption(settings, key, value);
  }
  return scan;
}

namespace {

void PrintNoInputHint() { PrintLine(FillTemplate(std::string(MessageText(Message::kNoInput)), ProgramBaseName())); }

// The one place that prints "Error: " lines.
void PrintError(std::string_view message) { PrintLine("Error: " + std::string(message)); }

int ShowLines(const std::vector<std::string>& lines) {
  BeginConsole();
  SetConsoleTitle(ProductTitle());
  for (const std::string& line : lines) PrintLine(line);
  EndConsole();
  return kExitSuccess;
}

int ExitCodeOf(BatchOutcome outcome) {
  switch (outcome) {
    case BatchOutcome::kAllConverted: return kExitSuccess;
    case BatchOutcome::kSomeFailed:
    case BatchOutcome::kNothingCollected: return kExitFilesFailed;
    case BatchOutcome::kInvalidSettings: return kExitUsage;
    case BatchOutcome::kInterrupted: return StopExitCode(StopSignal());
  }
  return kExitFilesFailed;
}

}  // namespace

int RunCommandLine(const Parameters& parameters) {
  // Without the windowed edition, "no parameters" and "no input" end with a pointer to the help.
  if (parameters.empty()) {
    PrintNoInputHint();
    return kExitUsage;
  }
  BuildRegistry();
  ResetJob(gJob);
  gJob.currentFolder = CurrentFolder();
  ResetSettings(gSettings, true);
  BuildStringTable("");

  switch (FirstParameterCommand(parameters)) {
    case FirstCommand::kVersion: return ShowLines({VersionText(kProductVersion)});
    case FirstCommand::kHelp:
      return ShowLines(HelpLines(ProgramBaseName(), InputFormatList(), OutputFormatList().front()));
    case FirstCommand::kUninstall:
    case FirstCommand::kTestRender: PrintNoInputHint(); return kExitUsage;
    case FirstCommand::kNone: break;
  }

  const CommandLineScan scan = ScanParameters(parameters, gSettings, gJob);
  if (scan.error) {
    BeginConsole();
    SetConsoleTitle(ProductTitle());
    PrintError(MessageText(*scan.error));
    if (scan.pause) WaitForKey();
    EndConsole();
    return kExitUsage;
  }
  if (gJob.consoleMode == 0) {
    PrintNoInputHint();
    return kExitUsage;
  }

  BeginConsole();
  SetConsoleTitle(ProductTitle());
  if (!scan.quiet) {
    PrintLine(ProductTitle());
    PrintLine(MakerNotice(true));
    PrintLine(kWebAddress);
    PrintLine(" ");
  }
  const BatchResult result = RunBatch(scan.quiet);
  if (!result.error.empty()) PrintError(result.error);
  if (scan.pause && result.outcome != BatchOutcome::kInterrupted) {
    PrintLine(std::string(MessageText(Message::kPressAnyKey)));
    WaitForKey();
  }
  EndConsole();
  return ExitCodeOf(result.outcome);
}

}  // namespace lumivane
