#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/system_info.h"

namespace platform {
namespace {

struct LanguageName {
  const char* code;  // ISO 639-1
  const char* name;
};

// The names the platform's language routine gives for the languages a user of this product may
// have; anything else is reported by its code so the support line still learns something.
constexpr LanguageName kLanguages[] = {
    {"cs", "Czech"},     {"da", "Danish"},    {"de", "German"},  {"el", "Greek"},
    {"en", "English"},   {"es", "Spanish"},   {"fi", "Finnish"}, {"fr", "French"},
    {"hu", "Hungarian"}, {"it", "Italian"},   {"nl", "Dutch"},   {"nb", "Norwegian"},
    {"nn", "Norwegian"}, {"no", "Norwegian"}, {"pl", "Polish"},  {"pt", "Portuguese"},
    {"ru", "Russian"},   {"sv", "Swedish"},   {"tr", "Turkish"}, {"ja", "Japanese"},
    {"zh", "Chinese"},   {"ko", "Korean"},    {"ar", "Arabic"},  {"he", "Hebrew"},
    {"uk", "Ukrainian"}, {"ro", "Romanian"},  {"sk", "Slovak"},  {"sl", "Slovenian"},
    {"hr", "Croatian"},  {"bg", "Bulgarian"},
};

std::string LocaleSetting() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value) return value;
  }
  return {};
}

}  // namespace

std::string SystemDefaultLanguageName() {
  std::string locale = LocaleSetting();
  // "de_DE.UTF-8" -> "de"; "C" and "POSIX" are the untranslated, that is English, system.
  std::string code = locale.substr(0, locale.find_first_of("_.@"));
  if (code.empty() || code == "C" || code == "POSIX") return "English";
  for (const auto& entry : kLanguages)
    if (code == entry.code) return entry.name;
  return "Language " + code;
}

}  // namespace platform
