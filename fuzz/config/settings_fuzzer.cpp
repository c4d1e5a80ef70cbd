// The settings and skin file reader on arbitrary bytes: it must neither crash nor leave its
// stage chain or the record's fixed slots.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/settings_file_reader.h"
#include "config/system_config.h"
#include "config/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillon::config;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  systemConfig config;
  SettingsFileParser parser(config);
  forEachLine(bytes, [&](std::string_view line) {
    parser.feedLine(line);
    if (parser.currentStage() < 1 || parser.currentStage() > 4) std::abort();
  });
  // The ninetieth picture slot has no key, so nothing may ever fill it.
  if (!config.pictures.files.back().empty()) std::abort();

  // Lookups with names taken from the input itself.
  const std::string_view probe = bytes.substr(0, 40);
  (void)layoutValue(config, probe, "Left");
  (void)pictureFile(config, probe);
  (void)stateValue(config, probe, "Visible");
  (void)settingInt(config.setup, probe);
  (void)settingText(config.setup, probe);
  (void)isWirelessModel(config.setup);
  (void)appliedModelName(config.setup);
  return 0;
}
