#pragma once

#include <string>
#include <string_view>

#include "config/system_config.h"

namespace quillon::config {

// Reads the settings and skin file line by line. Each line that is not skipped goes to the
// current stage of the chain layout values (1), pictures (2), states (3), settings (4); a stage
// that does not accept it hands it on and the next stage becomes current; a line that no stage
// from the current one on accepts is dropped and the chain starts again at stage 1. So the file
// holds its lines in that order, and a line of an earlier kind after a later one is dropped.
class SettingsFileParser {
 public:
  explicit SettingsFileParser(systemConfig& config) : config_(config) {}

  // One line of the file, without its line end.
  void feedLine(std::string_view line);

  int currentStage() const { return stage_; }

 private:
  bool offer(int stage, std::string_view line);
  bool acceptLayout(std::string_view line);
  bool acceptPicture(std::string_view line);
  bool acceptState(std::string_view line);
  bool acceptSetting(std::string_view line);

  systemConfig& config_;
  int stage_ = 1;
};

// Feeds every line of bytes to a fresh parser.
void parseSettingsFile(systemConfig& config, std::string_view bytes);

// Reads languageFolder + "dslutility_kit.ini" (kit edition) or + "dslutility.ini" into config.
// False when the file does not exist; config is then untouched. The reader sets no defaults: a
// value the file does not give keeps what config held.
bool loadSystemConfig(systemConfig& config, const std::string& languageFolder, bool kit);

}  // namespace quillon::config
