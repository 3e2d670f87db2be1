#include "settings/settings.h"

#include "settings/local_time.h"
#include "settings/product.h"
#include "settings/settings_table.h"

namespace lumivane {

Settings gSettings;

void ResetSettings(Settings& settings, bool commandLine) {
  for (const SettingRow& row : kSettingTable) SetSettingDefault(settings, row);
  settings.general.cfg = kConfigurationLayoutVersion;
  const std::int32_t now = CurrentLocalWallClockSeconds();
  settings.general.updateDate = now;
  settings.advanced.customTimestamp = now;
  settings.transform.keepAspectRatio = commandLine ? 0 : 1;
  settings.watermark.text = MakerNotice(false);
}

}  // namespace lumivane
