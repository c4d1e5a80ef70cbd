#include "config/ini_file.h"

#include "config/number_text.h"
#include "config/text_lines.h"

namespace quillon::config {
namespace {

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

IniFile IniFile::parse(std::string_view bytes) {
  IniFile ini;
  ini.exists_ = true;
  Section* current = nullptr;
  forEachLine(bytes, [&](std::string_view raw) {
    const std::string_view line = trimBlanks(raw);
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') {
      const std::string_view name = trimBlanks(beforeChar(line.substr(1), ']'));
      current = &ini.sections_[asciiLower(name)];
      return;
    }
    if (current == nullptr) return;
    const std::size_t eq = line.find('=');
    const std::string_view key = trimBlanks(line.substr(0, eq));
    if (key.empty()) return;
    const std::string_view value = eq == std::string_view::npos
                                       ? std::string_view{}
                                       : unquote(trimBlanks(line.substr(eq + 1)));
    // emplace keeps an existing entry: the first occurrence wins.
    current->emplace(asciiLower(key), std::string(value));
  });
  return ini;
}

IniFile IniFile::load(const std::string& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  return bytes ? parse(*bytes) : IniFile{};
}

const std::string* IniFile::find(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(asciiLower(section));
  if (s == sections_.end()) return nullptr;
  const auto k = s->second.find(asciiLower(key));
  return k == s->second.end() ? nullptr : &k->second;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const std::string* value = find(section, key);
  return value ? *value : std::string(def);
}

int32_t IniFile::readInt(std::string_view section, std::string_view key, int32_t def) const {
  const std::string* value = find(section, key);
  if (value == nullptr) return def;
  return parseProfileInt(*value).value_or(def);
}

}  // namespace quillon::config
