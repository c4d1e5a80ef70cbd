// The private-profile reader and the two records read through it, on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/customer_profile.h"
#include "config/defaults_reader.h"
#include "config/ini_file.h"
#include "config/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillon::config;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::parse(bytes);

  customerProfile profile;
  readProfile(profile, ini);
  if (profile.languageMask > 0xFFFFu) std::abort();
  if (profile.isMultiLang != 1 && profile.languageMask != 0) std::abort();

  systemConfig config;
  readDefaults(config, ini);

  // The number readers on the raw input as well.
  (void)parseProfileInt(bytes);
  (void)atolLike(bytes);
  // A section and key name taken from the input, so lookups also hit what the file defines.
  const std::string_view section = bytes.substr(0, 16);
  const std::string_view key = bytes.substr(section.size(), 16);
  (void)ini.readString(section, key, "d");
  (void)ini.readInt(section, key, -1);
  return 0;
}
