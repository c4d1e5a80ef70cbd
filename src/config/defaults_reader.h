#pragma once

#include <string>
#include <string_view>

#include "config/ini_file.h"
#include "config/system_config.h"

namespace quillon::config {

// Our own support page: the address the support button opens and that every ISP country without
// an address of its own gets, unless default.ini names another.
inline constexpr std::string_view kDefaultSupportUrl = "http://www.norvane.example/support";

// Reads languageFolder + "default.ini", section [Defaults], into the default.ini fields of config.
// A missing file or key gives the key's default, so every one of those fields is written.
void loadDefaults(systemConfig& config, const std::string& languageFolder);

// The same from a parsed file.
void readDefaults(systemConfig& config, const IniFile& defaultIni);

}  // namespace quillon::config
