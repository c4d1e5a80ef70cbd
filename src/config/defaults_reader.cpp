#include "config/defaults_reader.h"

namespace quillon::config {

void loadDefaults(systemConfig& config, const std::string& languageFolder) {
  readDefaults(config, IniFile::load(languageFolder + "default.ini"));
}

void readDefaults(systemConfig& config, const IniFile& ini) {
  constexpr std::string_view kSection = "Defaults";
  config.supportUrl = ini.readString(kSection, "supportUrl", kDefaultSupportUrl);
  config.manualName = ini.readString(kSection, "manualName", "manual.pdf");
  config.qigName = ini.readString(kSection, "qigName", "qig_english.pdf");
  config.defaultPassword = ini.readString(kSection, "defaultPassword", "tulip");
  config.defaultNumChannels = ini.readInt(kSection, "defaultNumChannels", 14);
  // The two adapter document defaults are crossed, as every edition has had them; a default.ini
  // that names both keys is not affected.
  config.kxQIGName = ini.readString(kSection, "kxQIGName", "kxu_manual.pdf");
  config.kxManualName = ini.readString(kSection, "kxManualName", "kxu_qig.pdf");
  config.defaultCountry = ini.readString(kSection, "defaultCountry", "0");
  config.defaultISP = ini.readString(kSection, "defaultISP", "0");
}

}  // namespace quillon::config
