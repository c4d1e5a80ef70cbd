#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillon::config {

// A read-only private-profile (INI) file, read with the rules of the platform's profile API:
// - lines are trimmed of blanks; empty lines and lines beginning with ";" are skipped;
// - "[name]" opens a section (the name up to the first "]", trimmed); lines before the first
//   section belong to none and are never found;
// - "key=value": key and value trimmed; a line without "=" is a key with an empty value;
// - section and key names compare without regard to ASCII letter case;
// - within a section the first occurrence of a key wins; a repeated section header continues
//   the same section;
// - a value wrapped in a matching pair of double or single quotes loses them;
// - ";" after a value is part of the value (there are no trailing comments).
class IniFile {
 public:
  IniFile() = default;

  static IniFile parse(std::string_view bytes);
  // A missing file reads as an empty one, so every lookup gives its default.
  static IniFile load(const std::string& path);

  bool exists() const { return exists_; }

  // The value as written, or def when the section or key is absent. A key present with an empty
  // value gives the empty text.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view def) const;

  // The value as an integer (see parseProfileInt), or def when it is absent, empty or not a
  // number.
  int32_t readInt(std::string_view section, std::string_view key, int32_t def) const;

 private:
  const std::string* find(std::string_view section, std::string_view key) const;

  using Section = std::unordered_map<std::string, std::string>;
  std::unordered_map<std::string, Section> sections_;  // keyed by lower-cased names
  bool exists_ = false;
};

}  // namespace quillon::config
