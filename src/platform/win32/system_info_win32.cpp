#include <windows.h>

#include <cstring>

#include "platform/system_info.h"

namespace platform {

std::string SystemDefaultLanguageName() {
  // Only the primary language counts: "English", not "English (United States)".
  const DWORD primary = PRIMARYLANGID(::GetSystemDefaultLangID());
  char buffer[250] = {};
  // Some implementations count the terminating NUL in the returned length, so the text is taken
  // up to its NUL instead.
  if (::VerLanguageNameA(primary, buffer, sizeof buffer) == 0) return {};
  return std::string(buffer, ::strnlen(buffer, sizeof buffer));
}

}  // namespace platform
