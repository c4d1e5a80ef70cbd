#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/system_config.h"

namespace quillon::config {

inline constexpr int kSettingKeyCount = 20;

// A program setting of the settings file and the Setup_Param field it fills: exactly one of text
// and number is set.
struct SettingKey {
  std::string_view name;
  std::string Setup_Param::*text;
  int32_t Setup_Param::*number;
};

// The 20 settings in field order.
std::span<const SettingKey> settingKeys();

// The setting with this exact name, or null.
const SettingKey* findSettingKey(std::string_view name);

}  // namespace quillon::config
