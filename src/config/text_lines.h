#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::config {

// No configuration file comes near this size; anything past it is not read, so a runaway file
// cannot exhaust memory.
inline constexpr std::size_t kMaxConfigFileBytes = std::size_t{64} << 20;

// The bytes of a file, at most maxBytes of them; nullopt when the file cannot be opened or read,
// which is how a folder behaves.
std::optional<std::string> readFileBytes(const std::string& path,
                                         std::size_t maxBytes = kMaxConfigFileBytes);

// Calls fn(line) for every line of bytes. Lines end with LF; a CR before the LF is dropped. A
// final line without LF counts; the empty text after a final LF does not.
template <typename Fn>
void forEachLine(std::string_view bytes, Fn&& fn) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    fn(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
}

// Blanks are space and tab.
constexpr bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
std::string_view trimBlanks(std::string_view text);

// The text before the first occurrence of d and the text after it; when d does not occur, both
// are the whole text.
std::string_view beforeChar(std::string_view text, char d);
std::string_view afterChar(std::string_view text, char d);

bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);

// ASCII-only case folding: the files are 8-bit ANSI and only their ASCII letters fold.
char asciiLower(char c);
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace quillon::config
