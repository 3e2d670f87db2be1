#pragma once
// The configuration file of the windowed edition: the whole Settings record, kept in
// $XDG_CONFIG_HOME/Tarnwick/lumivane/config.ini (or ~/.config/...). A command-line run never reads or writes it.
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace lumivane {

// The file's full path, or empty when neither XDG_CONFIG_HOME (absolute) nor HOME is set. Creates nothing.
std::string ConfigurationFilePath();

// Fills the record from the file at settings.configPath and returns true. When the file cannot be read, puts the
// windowed defaults (ResetSettings(false)) and returns false. Keys absent from the file keep their windowed
// default, except General/CFG, which then reads 0 so that the file counts as the oldest layout. Files of older
// layouts are upgraded in memory; General/CFG keeps the value read. configPath is left as it is.
bool LoadConfiguration(Settings& settings);

// The configuration file's text for the record, as SaveConfiguration writes it.
std::string FormatConfiguration(const Settings& settings);

// Writes the record to settings.configPath, creating missing folders. False, without any message, when the
// file cannot be written; an existing file is then left as it was.
bool SaveConfiguration(const Settings& settings);

// The process-wide record: LoadConfiguration() first sets gSettings.configPath to ConfigurationFilePath().
bool LoadConfiguration();
bool SaveConfiguration();

}  // namespace lumivane
