#include "settings/configuration.h"

#include <cstdlib>
#include <filesystem>

#include "settings/preferences_reader.h"
#include "settings/preferences_writer.h"
#include "settings/product.h"
#include "settings/settings_table.h"

namespace lumivane {
namespace {

// The window placement is written in this order, unlike the table's.
constexpr std::string_view kWindowPlacementKeys[] = {"IsMaximized", "Width", "Height", "X", "Y"};
static_assert([] {
  for (const std::string_view key : kWindowPlacementKeys) {
    const std::size_t index = SettingIndex("Window", key);
    if (index == kNoSetting || kSettingTable[index].saving.rule != SaveRule::kWithWindowPosition) return false;
  }
  return true;
}());

// Keys of older layouts that step 3 of the upgrade carries over.
constexpr std::string_view kOldPsdColorKey = "PSD Color Model";
constexpr std::string_view kOldTiffColorKey = "TIFF Color Model";

std::string EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// Older files used other codes and names; `version` is the layout version the file was read with.
void UpgradeLayout(Settings& settings, std::int32_t version, const PreferencesFile& file) {
  if (version < 11 && settings.advanced.filenameMask.find("%ext%") == std::string::npos) {
    settings.advanced.filenameMask += ".%ext%";
  }
  if (version < 14 && settings.input.rawLoadAs != RawLoadAs::kAuto) {
    // Two raw decoding choices were added in front of the old codes. Unsigned: the sum may wrap.
    const auto code = static_cast<std::uint32_t>(CodeOf(settings.input.rawLoadAs));
    settings.input.rawLoadAs = static_cast<RawLoadAs>(static_cast<std::int32_t>(code + 2u));
  }
  if (version < 19) {
    const std::int32_t psdColorModel = ReadPreferencesInteger(file, "Input", kOldPsdColorKey, 0);
    const std::int32_t tiffColorModel = ReadPreferencesInteger(file, "Output", kOldTiffColorKey, 0);
    if (psdColorModel != 0) settings.input.psdColorMode = static_cast<ColorMode>(psdColorModel);
    if (tiffColorModel != 0) settings.output.tiffColorMode = static_cast<ColorMode>(tiffColorModel);
  }
}

void AppendRow(std::string& text, const Settings& settings, const SettingRow& row) {
  AppendPreferencesEntry(text, row.key, FormatSetting(settings, row));
}

void AppendRowsSavedAs(std::string& text, const Settings& settings, std::span<const SettingRow> rows, SaveRule rule,
                       std::string_view format = {}) {
  for (const SettingRow& row : rows) {
    if (row.saving.rule == rule && (format.empty() || row.saving.format == format)) AppendRow(text, settings, row);
  }
}

// One group: the rows always saved, the window placement, then the per-format rows in format-list order (the
// table keeps the output formats' rows in that order).
void AppendGroup(std::string& text, const Settings& settings, std::span<const SettingRow> rows) {
  AppendPreferencesGroup(text, rows.front().group);
  AppendRowsSavedAs(text, settings, rows, SaveRule::kAlways);
  if (settings.general.saveWindowPosition != 0) {
    for (const std::string_view key : kWindowPlacementKeys) {
      const SettingRow* row = FindSetting(rows.front().group, key);
      if (row != nullptr) AppendRow(text, settings, *row);
    }
  }
  for (const std::string_view group : kAcceptedInputGroups) {
    AppendRowsSavedAs(text, settings, rows, SaveRule::kWithInputGroup, group);
  }
  AppendRowsSavedAs(text, settings, rows, SaveRule::kWithOutputFormat);
  AppendPreferencesComment(text, "");
}

}  // namespace

std::string ConfigurationFilePath() {
  std::filesystem::path folder = EnvironmentVariable("XDG_CONFIG_HOME");
  if (!folder.is_absolute()) {
    const std::string home = EnvironmentVariable("HOME");
    if (home.empty()) return {};
    folder = std::filesystem::path(home) / ".config";
  }
  return (folder / "Tarnwick" / "lumivane" / "config.ini").string();
}

bool LoadConfiguration(Settings& settings) {
  const std::optional<PreferencesFile> file = ReadPreferencesFile(settings.configPath);
  if (!file) {
    ResetSettings(settings, false);
    return false;
  }
  // The windowed defaults are the fallbacks of every key, except that a file without CFG is of the oldest layout.
  Settings loaded;
  loaded.configPath = settings.configPath;
  ResetSettings(loaded, false);
  loaded.general.cfg = 0;
  for (const SettingRow& row : kSettingTable) {
    if (const std::string* value = FindPreferencesValue(*file, row.group, row.key)) {
      SetSettingFromText(loaded, row, *value);
    }
  }
  UpgradeLayout(loaded, loaded.general.cfg, *file);
  settings = std::move(loaded);
  return true;
}

std::string FormatConfiguration(const Settings& settings) {
  Settings saved = settings;
  saved.general.cfg = kConfigurationLayoutVersion;
  std::string text = BeginPreferencesText();
  std::size_t first = 0;
  for (std::size_t i = 1; i <= kSettingTable.size(); ++i) {
    if (i == kSettingTable.size() || kSettingTable[i].group != kSettingTable[first].group) {
      AppendGroup(text, saved, kSettingTable.subspan(first, i - first));
      first = i;
    }
  }
  return text;
}

bool SaveConfiguration(const Settings& settings) {
  if (settings.configPath.empty()) return false;
  const std::filesystem::path folder = std::filesystem::path(settings.configPath).parent_path();
  std::error_code error;
  if (!folder.empty() && !std::filesystem::create_directories(folder, error) && error) return false;
  return WritePreferencesFile(settings.configPath, FormatConfiguration(settings));
}

bool LoadConfiguration() {
  gSettings.configPath = ConfigurationFilePath();
  return LoadConfiguration(gSettings);
}

bool SaveConfiguration() { return SaveConfiguration(gSettings); }

}  // namespace lumivane
