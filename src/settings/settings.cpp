#include "settings/settings.h"

#include "cli/product.h"
#include "formats/registry.h"
#include "settings/local_time.h"
#include "settings/settings_table.h"

namespace lumivane {

Settings gSettings;

namespace {

template <class List>
std::string FirstEntry(const List& list) {
  return list.empty() ? std::string() : std::string(list.front());
}

}  // namespace

void ResetSettings(Settings& settings, bool commandLine) {
  for (const SettingRow& row : kSettingTable) SetSettingDefault(settings, row);
  settings.general.cfg = kConfigurationLayoutVersion;
  const std::int32_t now = CurrentLocalWallClockSeconds();
  settings.general.updateDate = now;
  settings.advanced.customTimestamp = now;
  settings.input.format = FirstEntry(InputFormatList());
  settings.output.format = FirstEntry(OutputFormatList());
  settings.transform.keepAspectRatio = commandLine ? 0 : 1;
  settings.watermark.text = MakerNotice(false);
}

}  // namespace lumivane
