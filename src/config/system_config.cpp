#include "config/system_config.h"

#include "config/setting_keys.h"
#include "config/text_lines.h"

namespace quillon::config {
namespace {

const std::string kEmpty;

// The fields of UI_Components in the order of the state key table.
constexpr std::array<std::string UI_Components::*, kStateKeyCount> kStateFields = {
    &UI_Components::dslCountryVisible, &UI_Components::countrySelectorVisible,
    &UI_Components::wRadioSettingDlgEnabled};

}  // namespace

int32_t layoutValue(const systemConfig& config, std::string_view key, std::string_view attribute) {
  const int slot = layoutSlot(key, attribute);
  return slot < 0 ? 0 : config.layout[static_cast<std::size_t>(slot)];
}

const std::string& pictureFile(const systemConfig& config, std::string_view key) {
  const int slot = pictureSlot(key);
  return slot < 0 ? kEmpty : config.pictures.files[static_cast<std::size_t>(slot)];
}

std::string* stateField(UI_Components& states, int slot) {
  if (slot < 0 || slot >= kStateKeyCount) return nullptr;
  return &(states.*kStateFields[static_cast<std::size_t>(slot)]);
}

const std::string& stateValue(const systemConfig& config, std::string_view key,
                              std::string_view attribute) {
  const int slot = stateSlot(key, attribute);
  return slot < 0 ? kEmpty : config.uiStates.*kStateFields[static_cast<std::size_t>(slot)];
}

std::optional<int32_t> settingInt(const Setup_Param& setup, std::string_view key) {
  const SettingKey* setting = findSettingKey(key);
  if (setting == nullptr || setting->number == nullptr) return std::nullopt;
  return setup.*(setting->number);
}

std::optional<std::string> settingText(const Setup_Param& setup, std::string_view key) {
  const SettingKey* setting = findSettingKey(key);
  if (setting == nullptr || setting->text == nullptr) return std::nullopt;
  return setup.*(setting->text);
}

std::string_view appliedModelName(const Setup_Param& setup) {
  return beforeChar(setup.AppliedModules, ':');
}

bool isWirelessModel(const Setup_Param& setup) {
  const std::string_view modules = setup.AppliedModules;
  if (modules.size() < 3) return false;
  return equalsIgnoreCase(modules.substr(modules.size() - 3), "WAP");
}

bool radioPageEnabled(const systemConfig& config) {
  return config.uiStates.wRadioSettingDlgEnabled == "true";
}

}  // namespace quillon::config
