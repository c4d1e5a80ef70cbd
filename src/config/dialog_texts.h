#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/catalogue.h"

namespace quillon::config {

// The dialogs' texts from frm.str. loaded is true only when frm.str was found at the last load;
// otherwise the dialogs use their built-in texts.
struct DialogTexts {
  Catalogue texts;
  bool loaded = false;
};

// The process-wide dialog texts.
DialogTexts& dialogTexts();

// Loads languageFolder + "frm.str". A missing file keeps the lines but clears loaded.
bool loadDialogTexts(DialogTexts& dialog, const std::string& languageFolder);
bool loadDialogTexts(const std::string& languageFolder);

// Font character sets for the dialogs' texts.
inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kGreekCharset = 161;
inline constexpr uint8_t kRussianCharset = 204;
inline constexpr uint8_t kEastEuropeCharset = 238;

// The character set a language folder's texts are written in: Windows-1253 for Greek, 1251 for
// Russian, 1250 for Czech, Hungarian and Polish, 1252 (the default set) for every other name.
uint8_t charsetForLanguage(std::string_view languageName);

// The process-wide dialog character set (initially kAnsiCharset).
void setDialogCharset(std::string_view languageName);
uint8_t dialogCharset();

}  // namespace quillon::config
