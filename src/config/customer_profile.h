#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/ini_file.h"

namespace quillon::config {

// The languages the program knows, in bit order of languageMask. Each name is at once a key of
// setup.ini's [Language] section, a language folder name and a language list text.
inline constexpr std::array<std::string_view, 16> languageNames = {
    "Czech",     "Danish",  "English",   "Finnish", "Flemish",   "French",  "German",  "Greek",
    "Hungarian", "Italian", "Norwegian", "Polish",  "Portugese", "Russian", "Spanish", "Swedish"};

// Index of a name in languageNames (exact spelling), or -1.
int languageIndex(std::string_view name);

// The edition profile from setup.ini.
struct customerProfile {
  std::string profileName;
  int32_t isBundle = 0;
  int32_t isMultiLang = 0;
  uint32_t languageMask = 0;  // bit i: languageNames[i] is offered
  std::string DefaultLanguage;
  int32_t checkModemPwd = 0;
};

// Reads programFolder + "setup.ini" into profile. A missing file or key gives the defaults, so
// every field is written.
void loadProfile(customerProfile& profile, const std::string& programFolder);

// The same from a parsed file.
void readProfile(customerProfile& profile, const IniFile& setupIni);

// Whether the profile is the kit edition (modem and wireless USB adapter): isBundle non-zero.
// The settings file, the menu, its hover and the page sequence all ask this one question.
bool isKitEdition(const customerProfile& profile);

// Whether languageNames[index] is offered by the profile's mask.
bool isLanguageOffered(const customerProfile& profile, int index);

}  // namespace quillon::config
