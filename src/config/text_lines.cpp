#include "config/text_lines.h"

#include <algorithm>
#include <fstream>

namespace quillon::config {

std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;

  std::string bytes;
  char chunk[1 << 16];
  while (bytes.size() < maxBytes && in) {
    const std::size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
    in.read(chunk, static_cast<std::streamsize>(want));
    const std::streamsize got = in.gcount();
    if (got > 0) bytes.append(chunk, static_cast<std::size_t>(got));
  }
  // A folder opens as a stream on some systems and fails on the first read. An empty file name
  // in the settings names the language folder itself, which must not count as a file.
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view beforeChar(std::string_view text, char d) {
  const std::size_t at = text.find(d);
  return at == std::string_view::npos ? text : text.substr(0, at);
}

std::string_view afterChar(std::string_view text, char d) {
  const std::size_t at = text.find(d);
  return at == std::string_view::npos ? text : text.substr(at + 1);
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string asciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = asciiLower(c);
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

}  // namespace quillon::config
