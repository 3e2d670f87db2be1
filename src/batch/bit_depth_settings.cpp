#include "batch/bit_depth_settings.h"

namespace lumivane {

const BitDepthSetting* FindBitDepthSetting(std::string_view format) {
  for (const BitDepthSetting& row : kBitDepthSettings) {
    if (row.format == format) return &row;
  }
  return nullptr;
}

std::int32_t BitDepthSettingValue(const Settings& settings, std::string_view format) {
  const BitDepthSetting* row = FindBitDepthSetting(format);
  if (row == nullptr) return 0;
  std::int32_t value = 0;
  GetSetting(settings, *FindSetting(row->setting), value);
  return value;
}

}  // namespace lumivane
