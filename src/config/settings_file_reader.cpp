#include "config/settings_file_reader.h"

#include <optional>

#include "config/number_text.h"
#include "config/setting_keys.h"
#include "config/text_lines.h"

namespace quillon::config {
namespace {

constexpr int kLastStage = 4;

// key "." attribute "=" value. Parts are not trimmed: a blank next to "." or "=" makes the pair
// unknown. Without "." or "=" a part is the whole remaining text, as the format has always been
// read ("IMG_CloseBT.Left" alone is the pair with the value "Left").
struct SkinLine {
  std::string_view key;
  std::string_view attribute;
  std::string_view value;
};

SkinLine splitSkinLine(std::string_view line) {
  const std::string_view rest = afterChar(line, '.');
  return {beforeChar(line, '.'), beforeChar(rest, '='), afterChar(rest, '=')};
}

bool isSkipped(std::string_view line) {
  return line.empty() || (startsWith(line, "[") && endsWith(line, "]")) ||
         (startsWith(line, "***") && endsWith(line, "***")) || startsWith(line, ";");
}

}  // namespace

void SettingsFileParser::feedLine(std::string_view rawLine) {
  const std::string_view line = trimBlanks(rawLine);
  if (isSkipped(line)) return;
  for (int stage = stage_; stage <= kLastStage; ++stage) {
    if (offer(stage, line)) {
      stage_ = stage;
      return;
    }
  }
  stage_ = 1;
}

bool SettingsFileParser::offer(int stage, std::string_view line) {
  switch (stage) {
    case 1:
      return acceptLayout(line);
    case 2:
      return acceptPicture(line);
    case 3:
      return acceptState(line);
    default:
      return acceptSetting(line);
  }
}

bool SettingsFileParser::acceptLayout(std::string_view line) {
  const SkinLine parts = splitSkinLine(line);
  const int slot = layoutSlot(parts.key, parts.attribute);
  if (slot < 0) return false;
  config_.layout[static_cast<std::size_t>(slot)] = atolLike(parts.value);
  return true;
}

bool SettingsFileParser::acceptPicture(std::string_view line) {
  const SkinLine parts = splitSkinLine(line);
  if (parts.attribute != "Picture") return false;
  const int slot = pictureSlot(parts.key);
  if (slot < 0) return false;
  config_.pictures.files[static_cast<std::size_t>(slot)] = parts.value;
  return true;
}

bool SettingsFileParser::acceptState(std::string_view line) {
  const SkinLine parts = splitSkinLine(line);
  std::string* field = stateField(config_.uiStates, stateSlot(parts.key, parts.attribute));
  if (field == nullptr) return false;
  *field = parts.value;
  return true;
}

bool SettingsFileParser::acceptSetting(std::string_view line) {
  const SettingKey* setting = findSettingKey(beforeChar(line, '='));
  if (setting == nullptr) return false;
  const std::string_view value = afterChar(line, '=');
  if (setting->text != nullptr)
    config_.setup.*(setting->text) = value;
  else
    config_.setup.*(setting->number) = atolLike(value);
  return true;
}

void parseSettingsFile(systemConfig& config, std::string_view bytes) {
  SettingsFileParser parser(config);
  forEachLine(bytes, [&](std::string_view line) { parser.feedLine(line); });
}

bool loadSystemConfig(systemConfig& config, const std::string& languageFolder, bool kit) {
  const std::optional<std::string> bytes =
      readFileBytes(languageFolder + (kit ? "dslutility_kit.ini" : "dslutility.ini"));
  if (!bytes) return false;
  parseSettingsFile(config, *bytes);
  return true;
}

}  // namespace quillon::config
