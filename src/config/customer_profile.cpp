#include "config/customer_profile.h"

namespace quillon::config {

int languageIndex(std::string_view name) {
  for (std::size_t i = 0; i < languageNames.size(); ++i)
    if (languageNames[i] == name) return static_cast<int>(i);
  return -1;
}

void loadProfile(customerProfile& profile, const std::string& programFolder) {
  readProfile(profile, IniFile::load(programFolder + "setup.ini"));
}

void readProfile(customerProfile& profile, const IniFile& setupIni) {
  profile.profileName = setupIni.readString("Profile", "profileName", "GE");
  profile.isBundle = setupIni.readInt("Profile", "isBundle", 0);
  profile.isMultiLang = setupIni.readInt("Profile", "isMultiLang", 0);
  profile.DefaultLanguage = setupIni.readString("Profile", "DefaultLanguage", "English");
  profile.checkModemPwd = setupIni.readInt("Profile", "checkModemPwd", 0);

  // Only the value 1 turns the language list on: other non-zero values show the combo box but
  // offer nothing in it.
  profile.languageMask = 0;
  if (profile.isMultiLang != 1) return;
  for (std::size_t i = 0; i < languageNames.size(); ++i) {
    if (setupIni.readInt("Language", languageNames[i], 0) == 1)
      profile.languageMask |= uint32_t{1} << i;
  }
}

bool isKitEdition(const customerProfile& profile) {
  return profile.isBundle != 0;
}

bool isLanguageOffered(const customerProfile& profile, int index) {
  if (index < 0 || index >= static_cast<int>(languageNames.size())) return false;
  return (profile.languageMask >> index) & 1u;
}

}  // namespace quillon::config
